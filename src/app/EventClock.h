#pragma once

#include <QtGlobal>

namespace tavrin {

// When an input event really happened, on the wall clock. Events carry the window system's
// time stamp (milliseconds from an arbitrary start); a click made while a long handler ran is
// delivered only after it, so its delivery time says nothing. The offset between the two clocks
// is taken from the most promptly delivered event seen so far (the smallest difference), which
// turns a queued click's stamp back into the moment it was made.
class EventClock {
public:
    // The wall-clock moment (ms since 1970) of an event with this stamp, received at wallNow.
    qint64 happenedAt(quint64 eventTimestamp, qint64 wallNow);

private:
    bool calibrated_ = false;
    qint64 offset_ = 0;
};

} // namespace tavrin
