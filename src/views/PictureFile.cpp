#include "views/PictureFile.h"

#include "platform/system/SmallFileReader.h"

namespace zentaris {

QByteArray readPictureFile(const std::filesystem::path& file) {
    const auto picture = platform::readSmallFile(file, maxPictureFileBytes);
    if (!picture) return {};
    return QByteArray::fromStdString(picture.contents);
}

} // namespace zentaris
