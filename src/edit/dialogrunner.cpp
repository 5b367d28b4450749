#include "edit/dialogrunner.h"

#include <QDialog>

int ExecDialog(QDialog& dialog) {
    return dialog.exec();
}
