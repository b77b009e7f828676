#pragma once

#include <QByteArray>

#include <filesystem>

namespace zentaris {

// Far above any picture of the program (the largest is about 30 KB).
constexpr std::size_t maxPictureFileBytes = 4 * 1024 * 1024;

// The bytes of a picture file (SVG or bitmap) to decode from memory; empty when the file is
// missing, is not a regular file or is over the limit, so that a named pipe or a huge file in a
// picture's place leaves the picture out instead of stopping the program.
QByteArray readPictureFile(const std::filesystem::path& file);

} // namespace zentaris
