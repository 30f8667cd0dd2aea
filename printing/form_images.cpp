#include "form_images.h"

#include "data/business_images.h"
#include "data/db_error.h"
#include "images/business_image.h"
#include "report/report_model.h"

#include <QImage>
#include <QStringList>

namespace {

QString damagedImagesText(const QStringList &captions)
{
    if (captions.size() == 1)
        return QStringLiteral("Изображение %1 в базе данных повреждено; бланк печатается без "
                              "него. Загрузите его заново в реквизитах компании.")
            .arg(captions.front());
    return QStringLiteral("Изображения %1 в базе данных повреждены; бланк печатается без них. "
                          "Загрузите их заново в реквизитах компании.")
        .arg(captions.join(QStringLiteral(", ")));
}

} // namespace

FormImages readFormImages(FbConnection &connection, const QSet<QString> &names)
{
    FormImages result;
    QStringList damaged;
    BusinessImages stored(connection);
    for (const zimages::Slot slot : zimages::kSlots) {
        const QString name = zimages::slotName(slot);
        if (!names.contains(name))
            continue;
        QByteArray image;
        bool readable = true;
        try {
            image = stored.load(name);
        } catch (const DbError &) {
            readable = false;
        }
        // Decoded once here so that a damaged image is named before the form is shown; the
        // engine would only leave it out.
        if (readable && !image.isNull())
            readable = !QImage::fromData(image).isNull();
        if (!readable)
            damaged << QStringLiteral("«%1»").arg(zimages::slotCaption(slot));
        else if (!image.isNull())
            result.images.insert(name, image);
    }
    if (!damaged.isEmpty())
        result.problem = damagedImagesText(damaged);
    return result;
}

QSet<QString> pictureImageNames(const zreport::TfrxReport &report)
{
    QSet<QString> names;
    for (const zreport::TfrxReportPage *page : report.reportPages()) {
        for (const auto &band : page->bands) {
            for (const auto &view : band->objects) {
                const auto *picture = dynamic_cast<const zreport::TfrxPictureView *>(view.get());
                if (picture && !picture->imageName.isEmpty())
                    names.insert(picture->imageName);
            }
        }
    }
    return names;
}
