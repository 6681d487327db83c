#include "CronDocument.h"

#include "ShellQuoting.h"

#include <QRandomGenerator>
#include <type_traits>
#include <unordered_set>

namespace Tempolane {

namespace {

// cron ends a line at a line feed alone: a carriage return before it stays part of the line,
// where the shell meets it as the last character of the command.
QStringList splitIntoLines(const QString& text, bool hasTrailingNewline)
{
    QStringList lines;
    if (text.isEmpty())
        return lines;
    qsizetype start = 0;
    for (qsizetype i = text.indexOf(u'\n'); i >= 0; i = text.indexOf(u'\n', i + 1)) {
        lines.append(text.sliced(start, i - start));
        start = i + 1;
    }
    if (!hasTrailingNewline)
        lines.append(text.sliced(start));
    return lines;
}

// The ids come from the text, and qHash of a QUuid only xors its words: ids written to share
// one hash would make every look-up walk all the others. A hash keyed at random for each
// reading cannot be aimed at, so finding copies stays linear whatever the ids are.
class KeyedIdHash
{
public:
    std::size_t operator()(const QUuid& id) const noexcept
    {
        static_assert(std::has_unique_object_representations_v<QUuid>);
        return qHashBits(&id, sizeof id, m_key);
    }

private:
    // Not zero: Qt hashes with a fixed key then.
    std::size_t m_key = std::size_t(QRandomGenerator::system()->generate64()) | 1U;
};

} // namespace

CronDocument CronDocument::parse(const QString& text, const QString& runnerPath)
{
    CronDocument document;
    // A copied job line carries its id along (a copied line without markers has the id of its
    // text), and the nil id names no job. Jobs are told apart by id, so such a job gets one of
    // its own, derived from its place so that every reading gives the same; otherwise editing
    // one copy would overwrite the other.
    std::unordered_set<QUuid, KeyedIdHash> ids;
    const auto appendJob = [&](CronJob job) {
        while (job.id.isNull() || !ids.insert(job.id).second)
            job.id = QUuid::createUuidV5(job.id, QString::number(document.nodes.size()));
        document.nodes.append(Node::job(std::move(job)));
    };
    document.hasTrailingNewline = text.endsWith(u'\n');
    const QStringList lines = splitIntoLines(text, document.hasTrailingNewline);
    document.nodes.reserve(lines.size());
    ids.reserve(std::size_t(lines.size()));
    const QString runner = quotedPath(runnerPath);

    for (qsizetype i = 0; i < lines.size();) {
        qsizetype jobLine = i;
        while (jobLine < lines.size() && CronMarkers::isMetadataLine(lines[jobLine]))
            ++jobLine;
        std::optional<CronJob> job;
        if (jobLine < lines.size())
            job = CronJob::parse(lines[jobLine], lines.mid(i, jobLine - i), runner);
        if (job) {
            appendJob(std::move(*job));
            i = jobLine + 1;
            continue;
        }
        // Whether a line is a job does not hang on the markers above it, and a marker is no
        // job itself: the whole run passes through, and is not scanned again from each line.
        for (const qsizetype end = std::min(jobLine + 1, lines.size()); i < end; ++i)
            document.nodes.append(Node::passthrough(lines[i]));
    }
    return document;
}

QString CronDocument::serializedText(const QString& runnerPath) const
{
    if (nodes.isEmpty())
        return {};
    const QString runner = quotedPath(runnerPath);
    QStringList lines;
    lines.reserve(nodes.size() * 2);
    for (const Node& node : nodes) {
        if (const CronJob* job = node.job())
            job->appendSerializedLines(lines, runner);
        else
            lines.append(*node.passthroughText());
    }
    QString text = lines.join(u'\n');
    if (hasTrailingNewline)
        text.append(u'\n');
    return text;
}

QList<CronJob> CronDocument::jobs() const
{
    QList<CronJob> result;
    for (const Node& node : nodes) {
        if (const CronJob* job = node.job())
            result.append(*job);
    }
    return result;
}

CronDocument CronDocument::replacingJob(const CronJob& job) const
{
    CronDocument copy = *this;
    for (Node& node : copy.nodes) {
        if (const CronJob* existing = node.job(); existing && existing->id == job.id)
            node = Node::job(job);
    }
    return copy;
}

} // namespace Tempolane
