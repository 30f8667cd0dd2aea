#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>

#include <functional>

class FbConnection;
namespace zreport {
class TfrxReport;
}

// The stored images of the business as the forms print them.
struct FormImages {
    // By the name the forms' pictures ask for; only images that can be drawn.
    QHash<QString, QByteArray> images;
    // What to tell the user once when a stored image is damaged and the form prints without
    // it; empty when none is.
    QString problem;
};

// Reads the stored images of the given names (as the forms' pictures ask for them).
FormImages readFormImages(FbConnection &connection, const QSet<QString> &names);

// The image names the report's pictures ask for.
QSet<QString> pictureImageNames(const zreport::TfrxReport &report);

// Gives the images of the given names that a form is to print.
using FormImagesReader = std::function<QHash<QString, QByteArray>(const QSet<QString> &names)>;
