// Feeds arbitrary bytes to the crontab reader and writer and to the recogniser of wrapped
// commands: nothing may crash, and what was read must be written back unchanged.
#include "CronDocument.h"
#include "MonitoringCommandLine.h"
#include "ShellQuoting.h"

#include <cstdint>
#include <cstdlib>

using namespace Tempolane;

namespace {

const QString runner = QStringLiteral("/home/ann/.local/share/Tempolane/Runner/tempolane-runner");
const QString quotedRunner = quotedPath(runner);

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));

    const CronDocument document = CronDocument::parse(text, runner);
    const QString written = document.serializedText(runner);
    if (written != text)
        std::abort();
    if (CronDocument::parse(written, runner).jobs().size() != document.jobs().size())
        std::abort();

    if (const auto unwrapped = MonitoringCommandLine::unwrapCommand(text, quotedRunner)) {
        const QString rewrapped = MonitoringCommandLine::wrappedCommand(
            unwrapped->id, unwrapped->policy, unwrapped->command, quotedRunner);
        if (MonitoringCommandLine::unwrapCommand(rewrapped, quotedRunner) != unwrapped)
            std::abort();
    }
    return 0;
}
