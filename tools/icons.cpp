// Draws the program's icons at build time from its pixel art, enlarged pixel for pixel without
// smoothing, so the art stays crisp at every size.
// Usage: icons <output-folder> <icon-name>
// Writes hicolor/<n>x<n>/apps/<icon-name>.png for the desktop's icon theme and <icon-name>.ico
// for the Windows program file.

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QtEndian>
#include <array>
#include <cstdio>

#include "icons/vostrel16.xpm"
#include "icons/vostrel32.xpm"

namespace {

constexpr std::array<int, 6> kThemeSizes{16, 32, 48, 64, 128, 256};
constexpr std::array<int, 4> kIcoSizes{16, 32, 48, 256};

// The 16-pixel art is drawn for its size; every larger size grows from the 32-pixel art.
QImage icon(int size) {
    const QImage art(size < 32 ? vostrel16_xpm : vostrel32_xpm);
    return art.convertToFormat(QImage::Format_ARGB32)
        .scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

QByteArray png(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

template <typename T>
void put(QByteArray& out, T value) {
    const T little = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&little), sizeof little);
}

// An icon file of PNG images, as Windows has read them since Vista.
QByteArray ico() {
    QByteArray head;
    QByteArray images;
    put<quint16>(head, 0);
    put<quint16>(head, 1);  // an icon, not a cursor
    put<quint16>(head, kIcoSizes.size());
    const quint32 firstImage = 6 + 16 * kIcoSizes.size();
    for (const int size : kIcoSizes) {
        const QByteArray image = png(icon(size));
        head.append(static_cast<char>(size & 0xFF));  // 0 stands for 256
        head.append(static_cast<char>(size & 0xFF));
        head.append(2, '\0');  // no palette, reserved
        put<quint16>(head, 1);
        put<quint16>(head, 32);
        put<quint32>(head, static_cast<quint32>(image.size()));
        put<quint32>(head, firstImage + static_cast<quint32>(images.size()));
        images += image;
    }
    return head + images;
}

bool write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly) &&
           file.write(bytes) == bytes.size();
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        (void)std::fputs("usage: icons <output-folder> <icon-name>\n", stderr);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QString name = QString::fromLocal8Bit(argv[2]);
    bool ok = write(out.filePath(name + QStringLiteral(".ico")), ico());
    for (const int size : kThemeSizes) {
        const QString path = QStringLiteral("hicolor/%1x%1/apps/%2.png").arg(size).arg(name);
        ok = write(out.filePath(path), png(icon(size))) && ok;
    }
    if (!ok) {
        (void)std::fputs("icons: cannot write the icons\n", stderr);
        return 1;
    }
    return 0;
}
