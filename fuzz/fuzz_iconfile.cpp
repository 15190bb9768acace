// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the icon reader must survive any bytes, within its limits.
#include "FuzzCheck.h"
#include "calendar/icons/IconFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void checkLimits(const QList<IconGroup>& icons) {
    check(icons.size() <= IconFile::MaxGroups);
    qint64 pixels = 0;
    for (const IconGroup& icon : icons) {
        check(!icon.images.isEmpty() && icon.images.size() <= IconFile::MaxImagesPerGroup);
        for (const IconImage& picture : icon.images) {
            const QImage& image = picture.image;
            check(!image.isNull() && image.width() <= IconFile::MaxSide &&
                  image.height() <= IconFile::MaxSide);
            check(image.format() == QImage::Format_ARGB32);
            pixels += qint64(image.width()) * image.height();
        }
    }
    check(pixels <= IconFile::MaxTotalPixels);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Damaged pictures make the image decoders complain on every run.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<IconGroup> all = IconFile::read(bytes);
    checkLimits(all);
    const QList<IconGroup> best = IconFile::readBest(bytes, 32);
    checkLimits(best);
    for (const IconGroup& icon : best)
        check(icon.images.size() == 1);
    if (IconFile::detect(bytes) == IconFile::Format::Unknown)
        check(all.isEmpty());
    IconFile::decodeImage(bytes);
    return 0;
}
