#include "model/timeline.h"

#include "model/cube.h"

#include <cstring>

void clearTimeline(Timeline& timeline) {
    timeline.moves.clear();
    timeline.stages.clear();
    timeline.position = 0;
    timeline.startTaken = 0;
}

void startTimeline(Timeline& timeline) {
    clearTimeline(timeline);
    std::memcpy(timeline.startCubies, CubieArray, sizeof timeline.startCubies);
    timeline.startTaken = 1;
}

void appendToTimeline(Timeline& timeline, const Move& move, const char* stage) {
    if (timelineCount(timeline) >= kTimelineLimit) startTimeline(timeline);
    if (!timeline.startTaken) startTimeline(timeline);
    timeline.moves.push_back(move);
    timeline.stages.push_back(stage);
}
