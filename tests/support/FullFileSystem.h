#pragma once

#include <QFile>
#include <QString>

namespace Tempolane::Testing {

// Takes a small file system's last free block, or its last free inode, with files in the
// directory.
inline void fillFileSystem(const QString& directory, bool isInodes)
{
    for (int i = 0;; ++i) {
        QFile file(directory + QStringLiteral("/filler-%1").arg(i));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return;
        if (isInodes)
            continue;
        const QByteArray block(4096, 'f');
        while (file.write(block) == block.size()) {
        }
        while (file.write("f", 1) == 1) {
        }
        return;
    }
}

} // namespace Tempolane::Testing
