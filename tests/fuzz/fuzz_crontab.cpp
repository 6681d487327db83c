// Feeds arbitrary bytes to the crontab reader and writer and to the recogniser of wrapped
// commands: nothing may crash, and what was read must be written back unchanged.
#include "CronDocument.h"
#include "MonitoringCommandLine.h"

#include <cstdint>
#include <cstdlib>

using namespace Tempolane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));

    const CronDocument document = CronDocument::parse(text);
    if (document.serializedText() != text)
        std::abort();
    if (CronDocument::parse(document.serializedText()).jobs().size() != document.jobs().size())
        std::abort();

    if (const auto unwrapped = MonitoringCommandLine::unwrapCommand(text)) {
        const QString rewrapped = MonitoringCommandLine::wrappedCommand(
            unwrapped->id, unwrapped->policy, unwrapped->command);
        if (MonitoringCommandLine::unwrapCommand(rewrapped) != unwrapped)
            std::abort();
    }
    return 0;
}
