#pragma once

#include "CheckMachine.h"

namespace Tempolane {

// The real file system. A status is one stat(); of a file only a regular one is opened, never
// blocking, and no more than the bytes asked for are read.
class LocalFileView final : public FileView
{
public:
    FileStatus status(const QString& path) const override;
    std::optional<QByteArray> head(const QString& path, qsizetype limit) const override;
};

} // namespace Tempolane
