#include "controls/DialogControls.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <vector>

#include "controls/ColorLabel.h"
#include "controls/FramedEdit.h"
#include "controls/GroupBoxStyle.h"
#include "controls/LinkLabel.h"
#include "controls/QtText.h"
#include "controls/ResourceImages.h"
#include "controls/SkinButton.h"
#include "controls/SortListCtrl.h"
#include "resources/AccessibleName.h"
#include "resources/ResourceIds.h"

namespace {

// Makes a font the program-wide one for as long as it lives, then puts the previous one back.
class ProgramFontOverride {
public:
    explicit ProgramFontOverride(const QFont& font) : m_previous(QApplication::font()) {
        QApplication::setFont(font);
    }
    ~ProgramFontOverride() { QApplication::setFont(m_previous); }
    ProgramFontOverride(const ProgramFontOverride&) = delete;
    ProgramFontOverride& operator=(const ProgramFontOverride&) = delete;

private:
    QFont m_previous;
};

const QColor kDisabledEditText(64, 64, 64);

QLabel* MakePicture(const res::Control& control, const QRect& rect, QWidget* parent) {
    auto* label = new QLabel(parent);
    QPixmap picture;
    if (control.kind == res::Kind::kBitmap) {
        picture = LoadBitmapResource(res::kBitmapBanner, rect.size());
    } else {
        const int side = qMin(rect.width(), rect.height());
        picture = LoadIconPixmap(res::kIconMain, side);
    }
    label->setPixmap(picture);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// Read-only fields look read-only: the background of a disabled field, not the white of an
// editable one. Disabled fields keep their grey background but get dark text, so they stay
// legible.
void StyleInactiveEdit(QWidget* edit, unsigned style) {
    QPalette colors = edit->palette();
    if (res::HasStyle(style, res::kReadOnly)) {
        const QColor inactive = colors.color(QPalette::Disabled, QPalette::Base);
        colors.setColor(QPalette::Active, QPalette::Base, inactive);
        colors.setColor(QPalette::Inactive, QPalette::Base, inactive);
    }
    if (res::HasStyle(style, res::kDisabled)) {
        colors.setColor(QPalette::Disabled, QPalette::Text, kDisabledEditText);
    }
    edit->setPalette(colors);
}

QWidget* MakeEdit(const res::Control& control, QWidget* parent) {
    const unsigned style = control.style;
    QWidget* widget = nullptr;
    if (res::HasStyle(style, res::kMultiLine)) {
        QPlainTextEdit* edit = control.kind == res::Kind::kFramedEdit ? new CFramedTextEdit(parent)
                                                                      : new QPlainTextEdit(parent);
        edit->setReadOnly(res::HasStyle(style, res::kReadOnly));
        edit->setVerticalScrollBarPolicy(
            res::HasStyle(style, res::kVScroll) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        edit->setTabChangesFocus(true);
        edit->setPlainText(qtext::FromUtf8(control.caption));
        widget = edit;
    } else {
        QLineEdit* edit = control.kind == res::Kind::kFramedEdit ? new CFramedEdit(parent)
                                                                 : new QLineEdit(parent);
        edit->setReadOnly(res::HasStyle(style, res::kReadOnly));
        edit->setText(qtext::FromUtf8(control.caption));
        if (res::HasStyle(style, res::kCenter)) {
            edit->setAlignment(Qt::AlignHCenter);
        } else if (res::HasStyle(style, res::kRight)) {
            edit->setAlignment(Qt::AlignRight);
        }
        widget = edit;
    }
    StyleInactiveEdit(widget, style);
    return widget;
}

QLabel* MakeStatic(const res::Control& control, QWidget* parent) {
    QLabel* label = nullptr;
    const QString text = qtext::FromUtf8(control.caption);
    if (control.kind == res::Kind::kLink) {
        label = new CLinkLabel(text, parent);
    } else if (control.kind == res::Kind::kColorLabel) {
        label = new CColorLabel(text, parent);
    } else {
        label = new QLabel(text, parent);
        label->setWordWrap(!res::HasStyle(control.style, res::kNoWrap));
        // Plain labels never take the mouse, so clicks reach the window's background.
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    label->setTextFormat(Qt::PlainText);
    Qt::Alignment align = Qt::AlignTop;
    if (res::HasStyle(control.style, res::kCenter)) {
        align |= Qt::AlignHCenter;
    } else if (res::HasStyle(control.style, res::kRight)) {
        align |= Qt::AlignRight;
    } else {
        align |= Qt::AlignLeft;
    }
    label->setAlignment(align);
    return label;
}

// Gives a control the name the dialog table has for it, so a screen reader announces what the
// field is; the label beside it becomes its buddy, which the bridges report as "labelled by".
// A hotkey control takes the focus in its inner edit, which carries the same name.
void NameControl(QWidget* widget, const QString& name, QLabel* label) {
    if (name.isEmpty()) {
        return;
    }
    widget->setAccessibleName(name);
    if (auto* hotkey = qobject_cast<QKeySequenceEdit*>(widget)) {
        for (QLineEdit* edit : hotkey->findChildren<QLineEdit*>()) {
            edit->setAccessibleName(name);
        }
    }
    if (label != nullptr) {
        label->setBuddy(widget);
    }
}

// A control of the table's kind; `rect` is where it goes, in pixels.
QWidget* MakeControl(const res::Control& control, const QRect& rect, QWidget* window) {
    const unsigned style = control.style;
    const Qt::FocusPolicy focus =
        res::HasStyle(style, res::kTabStop) ? Qt::StrongFocus : Qt::ClickFocus;
    const QString caption = qtext::FromUtf8(control.caption);
    QWidget* widget = nullptr;
    switch (control.kind) {
        case res::Kind::kStatic:
        case res::Kind::kLink:
        case res::Kind::kColorLabel:
            widget = MakeStatic(control, window);
            break;
        case res::Kind::kEdit:
        case res::Kind::kFramedEdit:
            widget = MakeEdit(control, window);
            widget->setFocusPolicy(focus);
            break;
        case res::Kind::kButton:
        case res::Kind::kPlainButton: {
            QPushButton* button = control.kind == res::Kind::kButton
                                      ? new CSkinButton(caption, window)
                                      : new QPushButton(caption, window);
            button->setAutoDefault(false);
            button->setDefault(res::HasStyle(style, res::kDefaultButton));
            button->setFocusPolicy(focus);
            widget = button;
            break;
        }
        case res::Kind::kCheckBox:
            widget = new QCheckBox(caption, window);
            widget->setFocusPolicy(focus);
            break;
        case res::Kind::kGroupBox:
            widget = new QGroupBox(caption, window);
            widget->setStyle(CGroupBoxStyle::Instance());
            widget->setAttribute(Qt::WA_TransparentForMouseEvents);
            break;
        case res::Kind::kList: {
            auto* list = new CSortListCtrl(window);
            list->setSelectionMode(res::HasStyle(style, res::kSingleSel)
                                       ? QAbstractItemView::SingleSelection
                                       : QAbstractItemView::ExtendedSelection);
            list->SetHeaderVisible(!res::HasStyle(style, res::kNoColumnHeader));
            list->setFocusPolicy(focus);
            widget = list;
            break;
        }
        case res::Kind::kHotkey:
            widget = new QKeySequenceEdit(window);
            widget->setFocusPolicy(focus);
            break;
        case res::Kind::kBitmap:
        case res::Kind::kIcon:
            widget = MakePicture(control, rect, window);
            widget->setAttribute(Qt::WA_TransparentForMouseEvents);
            break;
    }
    return widget;
}

}  // namespace

QHash<int, QWidget*> BuildDialogControls(const res::Dialog& table, const DialogBaseUnits& units,
                                         QWidget* window) {
    // An edit field lays out its empty text in the program-wide font before it takes the
    // dialog's. While the fields are made, the program-wide font is the dialog's, whose face is
    // loaded already; otherwise the desktop's face would be loaded only for that first layout.
    const ProgramFontOverride dialogFont(window->font());
    QHash<int, QWidget*> byId;
    std::vector<QWidget*> lowered;
    std::vector<QWidget*> built;
    for (std::size_t i = 0; i < table.controls.size(); ++i) {
        const res::Control& control = table.controls[i];
        const QRect rect = units.ToPixels(control.x, control.y, control.w, control.h);
        QWidget* widget = MakeControl(control, rect, window);
        built.push_back(widget);
        const std::size_t label = res::NamingLabel(table, i);
        NameControl(widget, qtext::FromUtf8(res::AccessibleName(table, i)),
                    label == res::kNoLabel ? nullptr : qobject_cast<QLabel*>(built[label]));
        widget->setGeometry(rect);
        if (res::HasStyle(control.style, res::kDisabled)) {
            widget->setEnabled(false);
        }
        if (res::HasStyle(control.style, res::kHidden)) {
            widget->hide();
        }
        if (control.id != res::kNoId) {
            widget->setObjectName(QStringLiteral("ctl%1").arg(control.id));
            byId.insert(control.id, widget);
        }
        if (control.kind == res::Kind::kGroupBox) {
            lowered.push_back(widget);
        }
        if (auto* link = qobject_cast<CLinkLabel*>(widget)) {
            link->AdjustToFit();
        }
    }
    // Group boxes only frame their neighbours; they stay beneath them and let clicks through.
    for (QWidget* widget : lowered) {
        widget->lower();
    }
    return byId;
}
