#include "widgets/windowplace.h"

#include <QByteArray>
#include <QScreen>
#include <QSplitter>
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

std::string SplitterPlace(const QSplitter& splitter) {
    return splitter.saveState().toBase64().toStdString();
}

void RestoreSplitter(QSplitter& splitter, const std::string& place, const QList<int>& designed) {
    if (place.empty() || !splitter.restoreState(QByteArray::fromBase64(QByteArray::fromStdString(place)))) {
        splitter.setSizes(designed);
    }
}
