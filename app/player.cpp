#include "app/player.h"

#include "model/cube.h"

#include <cstddef>

namespace {

constexpr int kStartAngle = 1;
constexpr int kApplyAngle = 60;
constexpr int kQuarter = 90;

} // namespace

int animateTurn(Player& player, const Move& move, TurnDrawing draw) {
    if (player.angle == 0) {
        player.angle = kStartAngle;
        player.frame = 0;
        player.frames = kPlayerSpeeds[player.speed].framesPerTurn;
        player.applied = 0;
    }
    const bool last = player.frame + 1 >= player.frames;
    if (!player.applied && (player.angle >= kApplyAngle || last)) {
        turnLayer(move.layer, move.direction);
        player.applied = 1;
    }
    const bool smooth = player.frames > 3 && player.applied;
    draw(move.layer, move.direction, smooth ? player.angle - kQuarter : player.angle);
    ++player.frame;
    if (last) {
        player.angle = 0;
        return 1;
    }
    // Below a quarter turn until the end (the controller takes 90 for a turn
    // that is over).
    const int angle = kStartAngle + player.frame * kQuarter / player.frames;
    player.angle = angle < kQuarter ? angle : kQuarter - 1;
    return 0;
}

int advanceTimeline(Player& player, Timeline& timeline, MoveRecorder record, TurnDrawing draw) {
    if (player.angle == 0) {
        const int direction = player.stepping != 0 ? player.stepping : player.paused ? 0 : +1;
        const int count = timelineCount(timeline);
        if (direction > 0 && timeline.position < count) {
            player.turning = timeline.moves[static_cast<std::size_t>(timeline.position)];
            player.back = 0;
        } else if (direction < 0 && timeline.position > 0) {
            player.turning =
                inverse(timeline.moves[static_cast<std::size_t>(timeline.position - 1)]);
            player.back = 1;
        } else {
            player.stepping = 0;
            return -1;
        }
        if (record && !record(player.turning)) {
            player.stepping = 0;
            return -1;
        }
    }
    if (!animateTurn(player, player.turning, draw)) return 0;
    timeline.position += player.back ? -1 : +1;
    player.stepping = 0;
    return 1;
}

void seekTimeline(Timeline& timeline, int to, MoveRecorder record) {
    if (to < 0) {
        for (; timeline.position > 0; --timeline.position) {
            const Move undo =
                inverse(timeline.moves[static_cast<std::size_t>(timeline.position - 1)]);
            if (record && !record(undo)) return;
            turnLayer(undo.layer, undo.direction);
        }
        return;
    }
    for (; timeline.position < timelineCount(timeline); ++timeline.position) {
        const Move& m = timeline.moves[static_cast<std::size_t>(timeline.position)];
        if (record && !record(m)) return;
        turnLayer(m.layer, m.direction);
    }
}
