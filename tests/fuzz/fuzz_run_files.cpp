// Feeds arbitrary bytes to the reading of run files: as a running marker, as a run record and
// as a log, whole and cut by bytes. Nothing may crash, and what is read must hold together.
#include "LastMeaningfulLine.h"
#include "RunFiles.h"

#include <cstdint>
#include <cstdlib>

using namespace Tempolane;

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));

    for (const bool isRecord : {false, true}) {
        const auto fields = RunFiles::parseRunFile(bytes, isRecord);
        if (fields && (!fields->startedAt.isValid() || fields->isRecord != isRecord))
            std::abort();
        if (fields && isRecord && (!fields->endedAt || !fields->exitCode))
            std::abort();
    }

    for (const bool isCut : {false, true}) {
        const auto output = RunFiles::decodeLog(bytes, isCut);
        // Only a log without bytes, or with no more than a cut character, has no text.
        if (!output && size > (isCut ? 3u : 0u))
            std::abort();
        if (!output)
            continue;
        if (output->isEmpty() || !QStringView(*output).isValidUtf16())
            std::abort();
        if (const auto line = lastMeaningfulLine(*output)) {
            if (line->isEmpty() || isBlank(line->front()) || line->contains(u'\n') ||
                line->contains(u'\r'))
                std::abort();
        }
    }
    return 0;
}
