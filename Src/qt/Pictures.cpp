#include "Pictures.h"

#include <QBuffer>
#include <QImageReader>
#include <cstdlib>

namespace vostrel {

QPixmap decodePicture(std::string_view bytes, int maxSide) {
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    // Only bitmaps reach here, which Qt reads itself: naming the format spares loading and asking
    // every image-format plugin, as recognising it by its contents would.
    QImageReader reader(&buffer, "bmp");
    reader.setAutoDetectImageFormat(false);
    // A bitmap stored top row first claims a negative height.
    const QSize size(reader.size().width(), std::abs(reader.size().height()));
    if (size.isEmpty() || size.width() > maxSide || size.height() > maxSide) {
        return {};
    }
    return QPixmap::fromImage(reader.read());
}

}  // namespace vostrel
