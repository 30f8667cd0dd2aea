#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

class FbConnection;

// The stored images of the business as the forms print them.
struct FormImages {
    // By the name the forms' pictures ask for; only images that can be drawn.
    QHash<QString, QByteArray> images;
    // What to tell the user once when a stored image is damaged and the form prints without
    // it; empty when none is.
    QString problem;
};

FormImages readFormImages(FbConnection &connection);
