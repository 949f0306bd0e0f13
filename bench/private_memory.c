/* Loaded into a program with LD_PRELOAD by bench/short_goals.sh: as the
 * program exits, appends one line to the file $PRIVATE_MEMORY_OUT names:
 * "private_kb table_kb peak_kb" -- the private memory of every mapping but the
 * Short routine's table file (heap, stacks, the program's own data), the
 * resident pages of that file (shared through the page cache by every process
 * that maps it), and the peak resident size. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

__attribute__((destructor)) static void reportPrivateMemory(void) {
    const char* name = getenv("PRIVATE_MEMORY_OUT");
    if (name == NULL) return;
    FILE* smaps = fopen("/proc/self/smaps", "r");
    if (smaps == NULL) return;
    char line[4096];
    long privateKb = 0, tableKb = 0, value = 0;
    unsigned long from = 0, to = 0;
    char perms[8];
    int inTable = 0;
    while (fgets(line, sizeof line, smaps)) {
        if (sscanf(line, "%lx-%lx %7s", &from, &to, perms) == 3) {
            inTable = strstr(line, "short-tables.bin") != NULL;
        } else if (sscanf(line, "Private_Clean: %ld kB", &value) == 1 ||
                   sscanf(line, "Private_Dirty: %ld kB", &value) == 1) {
            if (!inTable) privateKb += value;
        } else if (sscanf(line, "Rss: %ld kB", &value) == 1) {
            if (inTable) tableKb += value;
        }
    }
    fclose(smaps);
    long peakKb = 0;
    FILE* status = fopen("/proc/self/status", "r");
    if (status != NULL) {
        while (fgets(line, sizeof line, status))
            if (sscanf(line, "VmHWM: %ld kB", &value) == 1) peakKb = value;
        fclose(status);
    }
    FILE* out = fopen(name, "a");
    if (out == NULL) return;
    fprintf(out, "%ld %ld %ld\n", privateKb, tableKb, peakKb);
    fclose(out);
}
