#pragma once

// Facts about the machine that the usage record reports with every upload.

#include <QString>

namespace Core {

// The platform's name as the usage record carries it.
QString getOs();

// The local time zone's offset from UTC at today's local midnight, in seconds, positive east of
// Greenwich (7200 two hours ahead of UTC, -18000 five hours behind).
int getTimeZoneDiff();

}  // namespace Core
