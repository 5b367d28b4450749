#include "platform/dialogrunner.h"

#include <QDialog>

int ExecDialog(QDialog& dialog) {
    return dialog.exec();
}
