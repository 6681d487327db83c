#pragma once

#include <QByteArrayView>
#include <QString>
#include <optional>

namespace Tempolane::Utf8 {

// Nothing unless the bytes are valid UTF-8; a leading byte order mark is kept as text,
// so decoding and encoding again gives back the same bytes.
std::optional<QString> decode(QByteArrayView bytes);

} // namespace Tempolane::Utf8
