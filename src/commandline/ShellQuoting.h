#pragma once

#include <QString>

namespace Tempolane {

// One single-quoted /bin/sh word; an apostrophe inside becomes '"'"'. Every path that goes
// into shell text is quoted by this one function, because the recogniser of wrapped commands
// compares quoted forms character by character.
QString quotedPath(const QString& path);

} // namespace Tempolane
