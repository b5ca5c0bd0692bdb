#include "dialog_builder.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

namespace res {

namespace {

constexpr const char *kBaseUnitsProperty = "dialogBaseUnits";

// a * b / c rounded half away from zero, as the classic MulDiv does.
int mulDiv(int a, int b, int c) {
    long long product = (long long)a * b;
    long long half = c / 2;
    return int(product >= 0 ? (product + half) / c : (product - half) / c);
}

Qt::Alignment textAlignment(unsigned flags) {
    Qt::Alignment vertical = Qt::AlignTop;
    if (flags & Center)
        return Qt::AlignHCenter | vertical;
    if (flags & Right)
        return Qt::AlignRight | vertical;
    return Qt::AlignLeft | vertical;
}

QWidget *createDefault(const ControlTemplate &control, QWidget *parent) {
    const QString text = QString::fromUtf8(control.text ? control.text : "");
    switch (control.kind) {
    case ControlKind::GroupBox:
        return new QGroupBox(text, parent);
    case ControlKind::Label: {
        auto *label = new QLabel(parent);
        label->setTextFormat(Qt::PlainText);
        label->setText(text);
        label->setWordWrap(control.flags & WordWrap);
        label->setAlignment(textAlignment(control.flags));
        // Static text does not take mouse input unless it asks for clicks.
        if (!(control.flags & Notify))
            label->setAttribute(Qt::WA_TransparentForMouseEvents);
        return label;
    }
    case ControlKind::Edit:
        if (control.flags & Multiline) {
            auto *edit = new QPlainTextEdit(text, parent);
            edit->setReadOnly(control.flags & ReadOnly);
            edit->setLineWrapMode((control.flags & (AutoHScroll | HScroll)) ? QPlainTextEdit::NoWrap
                                                                             : QPlainTextEdit::WidgetWidth);
            edit->setVerticalScrollBarPolicy((control.flags & VScroll) ? Qt::ScrollBarAlwaysOn
                                                                       : Qt::ScrollBarAsNeeded);
            return edit;
        } else {
            auto *edit = new QLineEdit(text, parent);
            edit->setReadOnly(control.flags & ReadOnly);
            edit->setAlignment(textAlignment(control.flags) & Qt::AlignHorizontal_Mask);
            return edit;
        }
    case ControlKind::PushButton:
    case ControlKind::DefPushButton: {
        auto *button = new QPushButton(text, parent);
        const bool inDialog = qobject_cast<QDialog *>(parent->window()) != nullptr;
        button->setAutoDefault(inDialog);
        button->setDefault(control.kind == ControlKind::DefPushButton);
        return button;
    }
    case ControlKind::CheckBox:
        return new QCheckBox(text, parent);
    case ControlKind::RadioButton:
        return new QRadioButton(text, parent);
    case ControlKind::VScrollBar:
        return new QScrollBar(Qt::Vertical, parent);
    case ControlKind::HScrollBar:
        return new QScrollBar(Qt::Horizontal, parent);
    case ControlKind::Frame: {
        auto *frame = new QFrame(parent);
        frame->setFrameShape((control.flags & Border) ? QFrame::Box : QFrame::NoFrame);
        frame->setFrameShadow(QFrame::Plain);
        frame->setLineWidth(1);
        return frame;
    }
    case ControlKind::ProgressBar: {
        auto *bar = new QProgressBar(parent);
        bar->setTextVisible(false);
        return bar;
    }
    case ControlKind::Custom:
        break;
    }
    return new QWidget(parent);
}

// Focus follows the template's tab stops: controls without one are reached
// by the mouse only.
void applyFocusPolicy(QWidget *widget, const ControlTemplate &control) {
    if (widget->focusPolicy() == Qt::NoFocus)
        return;
    widget->setFocusPolicy((control.flags & TabStop) ? Qt::StrongFocus : Qt::ClickFocus);
}

} // namespace

QFont templateFont(const DialogTemplate &dialog) {
    const QString face = QString::fromUtf8(dialog.fontFace ? dialog.fontFace : "");
    QFont font = QApplication::font();
    if (!face.isEmpty() && QFontDatabase::hasFamily(face))
        font.setFamilies({face});
    const int points = dialog.fontPointSize > 0 ? dialog.fontPointSize : 9;
    font.setPixelSize(mulDiv(points, 96, 72));
    return font;
}

QSize baseUnits(const QFont &font) {
    const QFontMetrics metrics(font);
    const int letters =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return QSize((letters / 26 + 1) / 2, metrics.height());
}

QRect dialogUnitsToPixels(int x, int y, int cx, int cy, QSize base) {
    return QRect(mulDiv(x, base.width(), 4), mulDiv(y, base.height(), 8), mulDiv(cx, base.width(), 4),
                 mulDiv(cy, base.height(), 8));
}

QSize buildDialog(const DialogTemplate &dialog, QWidget *target, const BuildOptions &options) {
    const QFont font = templateFont(dialog);
    const QSize base = baseUnits(font);
    target->setFont(font);
    target->setProperty(kBaseUnitsProperty, base);
    target->setProperty(kControlIdProperty, dialog.id);
    if (dialog.symbol && target->objectName().isEmpty())
        target->setObjectName(QString::fromLatin1(dialog.symbol));
    if (dialog.caption)
        target->setWindowTitle(QString::fromUtf8(dialog.caption));

    QButtonGroup *radioGroup = nullptr;
    for (const ControlTemplate &control : dialog.controls) {
        QWidget *widget = options.createControl ? options.createControl(control, target) : nullptr;
        if (!widget)
            widget = createDefault(control, target);
        widget->setProperty(kControlIdProperty, control.id);
        if (control.symbol)
            widget->setObjectName(QString::fromLatin1(control.symbol));
        widget->setGeometry(dialogUnitsToPixels(control.x, control.y, control.cx, control.cy, base));
        applyFocusPolicy(widget, control);
        if (control.flags & Disabled)
            widget->setEnabled(false);

        const bool isRadio = control.kind == ControlKind::RadioButton;
        if (control.flags & Group || !isRadio)
            radioGroup = nullptr;
        if (auto *radio = qobject_cast<QRadioButton *>(widget); radio && isRadio) {
            if (!radioGroup) {
                radioGroup = new QButtonGroup(target);
                radioGroup->setExclusive(true);
            }
            radioGroup->addButton(radio);
        }
        widget->setVisible(!(control.flags & Hidden));
    }

    const QRect area = dialogUnitsToPixels(0, 0, dialog.cx, dialog.cy, base);
    if (dialog.caption)
        target->setFixedSize(area.size());
    else
        target->resize(area.size());
    return base;
}

QSize dialogBaseUnits(const QWidget *dialog) {
    return dialog->property(kBaseUnitsProperty).toSize();
}

QWidget *findControl(const QWidget *dialog, int id) {
    if (!dialog)
        return nullptr;
    const auto children = dialog->findChildren<QWidget *>();
    for (QWidget *child : children) {
        const QVariant value = child->property(kControlIdProperty);
        if (value.isValid() && value.toInt() == id)
            return child;
    }
    return nullptr;
}

} // namespace res
