// PLACEHOLDER: replaced by the real stage 7.
#include "solve/solver.h"
#include "solve/stage_common.h"
int workCorner = 0; int workCornerSet = 0;
void baseStage7() { stageBegin(); stageEnd(); }
