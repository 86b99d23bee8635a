#include "app/EventClock.h"

namespace tavrin {

namespace {
// A stamp that maps further back than this is not trusted (a window system that restarted its
// clock, a synthesised event): such an event counts as made when it arrived.
constexpr qint64 kLongestBelievableDelay = 60'000;
} // namespace

qint64 EventClock::happenedAt(quint64 eventTimestamp, qint64 wallNow)
{
    const qint64 offset = wallNow - qint64(eventTimestamp);
    if (!calibrated_ || offset < offset_) {
        offset_ = offset;
        calibrated_ = true;
    }
    const qint64 happened = qint64(eventTimestamp) + offset_;
    return wallNow - happened > kLongestBelievableDelay ? wallNow : happened;
}

} // namespace tavrin
