#include "controls/DialogBase.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>

#include "controls/ColorLabel.h"
#include "controls/DialogFont.h"
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

// Rounded a * b / c, as the dialog manager maps dialog units.
int MulDiv(int a, int b, int c) {
    const long long product = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

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

bool Has(unsigned style, unsigned bit) {
    return (style & bit) != 0;
}

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
    if (Has(style, res::kReadOnly)) {
        const QColor inactive = colors.color(QPalette::Disabled, QPalette::Base);
        colors.setColor(QPalette::Active, QPalette::Base, inactive);
        colors.setColor(QPalette::Inactive, QPalette::Base, inactive);
    }
    if (Has(style, res::kDisabled)) {
        colors.setColor(QPalette::Disabled, QPalette::Text, kDisabledEditText);
    }
    edit->setPalette(colors);
}

QWidget* MakeEdit(const res::Control& control, QWidget* parent) {
    const unsigned style = control.style;
    QWidget* widget = nullptr;
    if (Has(style, res::kMultiLine)) {
        QPlainTextEdit* edit = control.kind == res::Kind::kFramedEdit ? new CFramedTextEdit(parent)
                                                                      : new QPlainTextEdit(parent);
        edit->setReadOnly(Has(style, res::kReadOnly));
        edit->setVerticalScrollBarPolicy(Has(style, res::kVScroll) ? Qt::ScrollBarAlwaysOn
                                                                   : Qt::ScrollBarAlwaysOff);
        edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        edit->setTabChangesFocus(true);
        edit->setPlainText(qtext::FromUtf8(control.caption));
        widget = edit;
    } else {
        QLineEdit* edit = control.kind == res::Kind::kFramedEdit ? new CFramedEdit(parent)
                                                                 : new QLineEdit(parent);
        edit->setReadOnly(Has(style, res::kReadOnly));
        edit->setText(qtext::FromUtf8(control.caption));
        if (Has(style, res::kCenter)) {
            edit->setAlignment(Qt::AlignHCenter);
        } else if (Has(style, res::kRight)) {
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
        label->setWordWrap(!Has(control.style, res::kNoWrap));
        // Plain labels never take the mouse, so clicks reach the window's background.
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    label->setTextFormat(Qt::PlainText);
    Qt::Alignment align = Qt::AlignTop;
    if (Has(control.style, res::kCenter)) {
        align |= Qt::AlignHCenter;
    } else if (Has(control.style, res::kRight)) {
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

}  // namespace

CDialogBase::CDialogBase(int dialogId, QWidget* parent)
    : QDialog(parent), m_dialogId(dialogId), m_table(res::GetDialogTable(dialogId)) {
    setFont(DialogFont(m_table.font, m_table.pointSize));
    const DialogBaseUnits units = BaseUnitsOf(font());
    m_baseWidth = units.charWidth;
    m_baseHeight = units.charHeight;
    setWindowTitle(qtext::FromUtf8(m_table.title));
    setWindowModality(Qt::WindowModal);
    ApplyWindowStyle();
    // An edit field lays out its empty text in the program-wide font before it takes the
    // dialog's. While the fields are made, the program-wide font is the dialog's, whose face is
    // loaded already; otherwise the desktop's face would be loaded only for that first layout.
    const ProgramFontOverride dialogFont(font());
    BuildControls();
}

CDialogBase::~CDialogBase() {
    if (m_loop != nullptr) {
        m_loop->exit(kIdCancel);
    }
}

void CDialogBase::ApplyWindowStyle() {
    const unsigned style = m_table.style;
    Qt::WindowFlags flags = parentWidget() != nullptr ? Qt::Dialog : Qt::Window;
    if (!Has(style, res::kCaption)) {
        // A pop-up with a modal frame and no caption bar: the frame is painted by paintEvent.
        flags |= Qt::FramelessWindowHint;
    } else {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (Has(style, res::kSysMenu)) {
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        }
        if (Has(style, res::kMinimizeBox)) {
            flags |= Qt::WindowMinimizeButtonHint;
        }
        if (Has(style, res::kMaximizeBox)) {
            flags |= Qt::WindowMaximizeButtonHint;
        }
    }
    setWindowFlags(flags);
    const QSize client = DluToPixels(0, 0, m_table.w, m_table.h).size();
    if (Has(style, res::kResizable)) {
        resize(client);
        setSizeGripEnabled(false);
    } else {
        setFixedSize(client);
    }
}

QRect CDialogBase::DluToPixels(int x, int y, int w, int h) const {
    return QRect(MulDiv(x, m_baseWidth, 4), MulDiv(y, m_baseHeight, 8), MulDiv(w, m_baseWidth, 4),
                 MulDiv(h, m_baseHeight, 8));
}

void CDialogBase::BuildControls() {
    std::vector<QWidget*> lowered;
    std::vector<QWidget*> built;
    for (std::size_t i = 0; i < m_table.controls.size(); ++i) {
        const res::Control& control = m_table.controls[i];
        QWidget* widget = CreateControl(control);
        built.push_back(widget);
        const std::size_t label = res::NamingLabel(m_table, i);
        NameControl(widget, qtext::FromUtf8(res::AccessibleName(m_table, i)),
                    label == res::kNoLabel ? nullptr : qobject_cast<QLabel*>(built[label]));
        widget->setGeometry(DluToPixels(control.x, control.y, control.w, control.h));
        if (Has(control.style, res::kDisabled)) {
            widget->setEnabled(false);
        }
        if (Has(control.style, res::kHidden)) {
            widget->hide();
        }
        if (control.id != res::kNoId) {
            widget->setObjectName(QStringLiteral("ctl%1").arg(control.id));
            m_controls.insert(control.id, widget);
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
}

QWidget* CDialogBase::CreateControl(const res::Control& control) {
    const unsigned style = control.style;
    const Qt::FocusPolicy focus = Has(style, res::kTabStop) ? Qt::StrongFocus : Qt::ClickFocus;
    const QString caption = qtext::FromUtf8(control.caption);
    QWidget* widget = nullptr;
    switch (control.kind) {
        case res::Kind::kStatic:
        case res::Kind::kLink:
        case res::Kind::kColorLabel:
            widget = MakeStatic(control, this);
            break;
        case res::Kind::kEdit:
        case res::Kind::kFramedEdit:
            widget = MakeEdit(control, this);
            widget->setFocusPolicy(focus);
            break;
        case res::Kind::kButton:
        case res::Kind::kPlainButton: {
            QPushButton* button = control.kind == res::Kind::kButton
                                      ? new CSkinButton(caption, this)
                                      : new QPushButton(caption, this);
            button->setAutoDefault(false);
            button->setDefault(Has(style, res::kDefaultButton));
            button->setFocusPolicy(focus);
            if (control.id == kIdOk) {
                connect(button, &QPushButton::clicked, this, [this] { OnOK(); });
            } else if (control.id == kIdCancel) {
                connect(button, &QPushButton::clicked, this, [this] { OnCancel(); });
            }
            widget = button;
            break;
        }
        case res::Kind::kCheckBox:
            widget = new QCheckBox(caption, this);
            widget->setFocusPolicy(focus);
            break;
        case res::Kind::kGroupBox:
            widget = new QGroupBox(caption, this);
            widget->setStyle(CGroupBoxStyle::Instance());
            widget->setAttribute(Qt::WA_TransparentForMouseEvents);
            break;
        case res::Kind::kList: {
            auto* list = new CSortListCtrl(this);
            list->setSelectionMode(Has(style, res::kSingleSel)
                                       ? QAbstractItemView::SingleSelection
                                       : QAbstractItemView::ExtendedSelection);
            list->SetHeaderVisible(!Has(style, res::kNoColumnHeader));
            list->setFocusPolicy(focus);
            widget = list;
            break;
        }
        case res::Kind::kHotkey:
            widget = new QKeySequenceEdit(this);
            widget->setFocusPolicy(focus);
            break;
        case res::Kind::kBitmap:
        case res::Kind::kIcon: {
            const QRect rect = DluToPixels(control.x, control.y, control.w, control.h);
            widget = MakePicture(control, rect, this);
            widget->setAttribute(Qt::WA_TransparentForMouseEvents);
            break;
        }
    }
    return widget;
}

QWidget* CDialogBase::GetControl(int id) const {
    return m_controls.value(id, nullptr);
}

std::string CDialogBase::GetControlText(int id) const {
    QWidget* widget = GetControl(id);
    if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        return qtext::FromQt(line->text());
    }
    if (auto* text = qobject_cast<QPlainTextEdit*>(widget)) {
        return qtext::FromQtMultiLine(text->toPlainText());
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return qtext::FromQt(label->text());
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return qtext::FromQt(button->text());
    }
    if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        return qtext::FromQt(group->title());
    }
    return {};
}

void CDialogBase::SetControlText(int id, const std::string& gbkText) {
    QWidget* widget = GetControl(id);
    if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        line->setText(qtext::ToQt(gbkText));
        line->setCursorPosition(0);
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(widget)) {
        text->setPlainText(qtext::ToQtMultiLine(gbkText));
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(qtext::ToQt(gbkText));
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(qtext::ToQt(gbkText));
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        group->setTitle(qtext::ToQt(gbkText));
    }
}

void CDialogBase::BindText(int controlId, std::string* field) {
    m_textBindings.push_back(TextBinding{controlId, field});
}

void CDialogBase::BindCheck(int controlId, int* flag) {
    m_checkBindings.push_back(CheckBinding{controlId, flag});
}

void CDialogBase::ReadFields() {
    for (const TextBinding& binding : m_textBindings) {
        if (GetControl(binding.id) != nullptr) {
            *binding.field = GetControlText(binding.id);
        }
    }
    for (const CheckBinding& binding : m_checkBindings) {
        if (auto* box = Control<QAbstractButton>(binding.id)) {
            *binding.flag = box->isChecked() ? 1 : 0;
        }
    }
}

void CDialogBase::WriteFields() {
    for (const TextBinding& binding : m_textBindings) {
        // An unchanged text is left alone, so the caret and selection stay where they are.
        if (GetControl(binding.id) != nullptr && GetControlText(binding.id) != *binding.field) {
            SetControlText(binding.id, *binding.field);
        }
    }
    for (const CheckBinding& binding : m_checkBindings) {
        if (auto* box = Control<QAbstractButton>(binding.id)) {
            box->setChecked(*binding.flag != 0);
        }
    }
}

int CDialogBase::DoModal() {
    if (m_loop != nullptr) {
        return kIdCancel;  // already running
    }
    m_result = kIdCancel;
    // EndDialog during the start-up steps (a close request answered while a start-up message
    // was open, say) ends the run before its loop starts instead of being lost.
    m_starting = true;
    m_endedStarting = false;
    if (!m_initialised) {
        m_initialised = true;
        if (OnInitDialog()) {
            FocusFirstTabStop();
        }
    }
    m_starting = false;
    if (m_endedStarting) {
        return m_result;
    }
    QEventLoop loop;
    m_loop = &loop;
    show();
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        raise();
        activateWindow();
    }
    const int result = loop.exec(QEventLoop::DialogExec);
    m_loop = nullptr;
    hide();
    return result;
}

void CDialogBase::EndDialog(int result) {
    m_result = result;
    if (m_loop != nullptr) {
        m_loop->exit(result);
        m_loop = nullptr;  // the run has ended, although the loop returns only later
    } else if (m_starting) {
        m_endedStarting = true;
    }
}

void CDialogBase::FocusFirstTabStop() {
    for (const res::Control& control : m_table.controls) {
        QWidget* widget = GetControl(control.id);
        if (widget != nullptr && Has(control.style, res::kTabStop) && widget->isEnabled() &&
            !widget->isHidden()) {
            widget->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

bool CDialogBase::OnInitDialog() {
    WriteFields();
    return true;
}

void CDialogBase::OnEnterKey() {
    if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
        if (button->isEnabled()) {
            button->click();
            return;
        }
    }
    OnOK();
}

void CDialogBase::OnOK() {
    ReadFields();
    EndDialog(kIdOk);
}

void CDialogBase::OnCancel() {
    EndDialog(kIdCancel);
}

void CDialogBase::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        switch (event->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
                event->accept();
                OnEnterKey();
                return;
            case Qt::Key_Escape:
                event->accept();
                OnCancel();
                return;
            default:
                break;
        }
    }
    QWidget::keyPressEvent(event);
}

void CDialogBase::closeEvent(QCloseEvent* event) {
    // The window ends only through EndDialog; the close command is the cancel command.
    event->ignore();
    if (m_loop != nullptr) {
        OnCancel();
    }
}

void CDialogBase::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (Has(m_table.style, res::kCaption)) {
        return;
    }
    // The modal frame of a window without caption bar: a raised double edge.
    QPainter painter(this);
    const QRect outer = rect();  // lines end on right() and bottom(), the last pixels
    const QPalette& colors = palette();
    painter.setPen(colors.color(QPalette::Light));
    painter.drawLine(outer.topLeft(), outer.topRight());
    painter.drawLine(outer.topLeft(), outer.bottomLeft());
    painter.setPen(colors.color(QPalette::Shadow));
    painter.drawLine(outer.bottomLeft(), outer.bottomRight());
    painter.drawLine(outer.topRight(), outer.bottomRight());
    const QRect inner = outer.adjusted(1, 1, -1, -1);
    painter.setPen(colors.color(QPalette::Midlight));
    painter.drawLine(inner.topLeft(), inner.topRight());
    painter.drawLine(inner.topLeft(), inner.bottomLeft());
    painter.setPen(colors.color(QPalette::Dark));
    painter.drawLine(inner.bottomLeft(), inner.bottomRight());
    painter.drawLine(inner.topRight(), inner.bottomRight());
}

void CDialogBase::reject() {
    OnCancel();
}

void CDialogBase::accept() {
    OnOK();
}
