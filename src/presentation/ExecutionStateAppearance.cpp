#include "ExecutionStateAppearance.h"

namespace Tempolane {

ExecutionStateAppearance ExecutionStateAppearance::of(JobExecutionState::Kind kind)
{
    using Kind = JobExecutionState::Kind;
    switch (kind) {
    case Kind::notMonitored:
        return {Symbol::circle, Tint::secondary};
    case Kind::waiting:
        return {Symbol::clock, Tint::secondary};
    case Kind::running:
        return {Symbol::waveform, Tint::cyan};
    case Kind::succeeded:
        return {Symbol::checkCircleFill, Tint::green};
    case Kind::interrupted:
        return {Symbol::warningFill, Tint::orange};
    case Kind::notObserved:
        return {Symbol::clockBadgeWarning, Tint::orange};
    case Kind::failed:
        return {Symbol::warningCircleFill, Tint::red};
    }
    Q_UNREACHABLE();
}

} // namespace Tempolane
