#pragma once

namespace Tempolane {

// How a run stands on the timeline and in the run chart. Each outcome has a shape of its own as
// well as its state's colour, so that no outcome is told by colour alone.
enum class RunShape
{
    planned,
    succeeded,
    failed,
    interrupted,
    running,
    missed
};

} // namespace Tempolane
