#ifndef GLYPHWERK_CONTROLS_DIALOG_ICON_H
#define GLYPHWERK_CONTROLS_DIALOG_ICON_H

// The icon control of a dialog: the program's window icon, or the style's
// information icon while the program has none.

#include <QApplication>
#include <QLabel>
#include <QStyle>

namespace controls {

inline QLabel *makeDialogIcon(QWidget *parent) {
    auto *label = new QLabel(parent);
    const QIcon program = QApplication::windowIcon();
    const QIcon icon = program.isNull() ? parent->style()->standardIcon(QStyle::SP_MessageBoxInformation) : program;
    label->setPixmap(icon.pixmap(32, 32));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

} // namespace controls

#endif
