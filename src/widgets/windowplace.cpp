#include "widgets/windowplace.h"

#include <QByteArray>
#include <QScreen>
#include <QWidget>

std::string WindowPlace(const QWidget& window) {
    return window.saveGeometry().toBase64().toStdString();
}

void RestoreWindowPlace(QWidget& window, const std::string& place, QSize designed) {
    if (!place.empty() && window.restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(place)))) {
        return;
    }
    if (const QScreen* screen = window.screen()) {
        designed = designed.boundedTo(screen->availableGeometry().size());
    }
    window.resize(designed);
}
