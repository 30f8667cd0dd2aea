#pragma once

#include <QByteArray>
#include <QSizeF>
#include <QString>

// The images of the business that the forms print: the logo, the stamp and two signatures.
namespace zimages {

enum class Slot { Logo, Stamp, HeadSignature, AccountantSignature };
inline constexpr Slot kSlots[] = {Slot::Logo, Slot::Stamp, Slot::HeadSignature,
                                  Slot::AccountantSignature};

// The name the pictures of the forms ask for ("logo", "stamp", "head", "accountant").
QString slotName(Slot slot);
// The slot's caption in the requisites window.
QString slotCaption(Slot slot);
// The largest box the forms print the slot's image in.
QSizeF printedSizeMm(Slot slot);

// The largest file and the longest side accepted.
inline constexpr qint64 kMaxFileBytes = 10 * 1024 * 1024;
inline constexpr int kMaxSide = 8000;
// Finer than this at the printed size is lost on paper and only makes files larger.
inline constexpr int kStoredDpi = 600;

struct LoadOptions {
    bool whiteToTransparent = false; // for a stamp or a signature scanned on white paper
};

// The image as it is stored: a JPEG kept as it came when nothing had to change, else a PNG;
// `error` says in Russian why nothing is stored.
struct LoadedImage {
    QByteArray data;
    QString error;
    bool ok() const { return error.isEmpty(); }
};

LoadedImage loadBusinessImage(const QByteArray &file, Slot slot, const LoadOptions &options);
LoadedImage loadBusinessImageFile(const QString &path, Slot slot, const LoadOptions &options);

} // namespace zimages
