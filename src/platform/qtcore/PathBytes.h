#pragma once
// File paths as the bytes the file system holds. Qt decodes a name that is not valid UTF-8
// with U+FFFD in place of the invalid bytes, which no longer names the file; these functions
// give back the bytes of a path that reached the program as Qt text.

#include <QString>
#include <QUrl>

#include <string>

namespace mirado {

// The path's bytes. When the encoded text names nothing, a component shown with replacement
// characters is matched against its folder's entries by their shown name; a component that
// matches no entry, or more than one, stays as encoded.
std::string PathBytes(const QString& path);

// The bytes of a local file URL: its percent-encoded path keeps every byte.
std::string PathBytes(const QUrl& url);

// Whether the path names a regular file, following links.
bool IsRegularFile(const std::string& path);

} // namespace mirado
