#include "bindings/gui/devicepanel.h"

#include "app/mglobal.h"
#include "bindings/panelfit.h"
#include "bindings/gui/keyclickplayer.h"
#include "bindings/gui/lockkeys.h"
#include "bindings/gui/slotcontrol.h"
#include "documents/gui/richedit.h"
#include "documents/gui/textcodec.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QMimeData>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>

namespace varkel {

namespace {

QString latin1(const std::string &s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

QString latin1(std::string_view s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

void setTextColor(QLabel *label, const QColor &color)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, color);
    pal.setColor(QPalette::Disabled, QPalette::WindowText, color);
    label->setPalette(pal);
}

QFrame *makeFrame(const char *name, QWidget *parent)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(QLatin1String(name));
    frame->setFrameShape(QFrame::Panel);
    frame->setFrameShadow(QFrame::Sunken);
    frame->setMouseTracking(true);
    frame->setAutoFillBackground(true);
    QPalette pal = frame->palette();
    pal.setColor(QPalette::Window, PanelImages::FrameColor());
    frame->setPalette(pal);
    return frame;
}

// A label whose rectangle is at least the designed one and big enough for its
// text, centred where the designed one is.
QRect fitted(const QRect &designed, const QLabel *label)
{
    const QFontMetrics fm(label->font());
    QRect r(0, 0, std::max(designed.width(), fm.horizontalAdvance(label->text()) + 2),
            std::max(designed.height(), fm.height()));
    r.moveCenter(designed.center());
    return r;
}

} // namespace

DevicePanel::DevicePanel(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("picContainer"));
    setAcceptDrops(true);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_model.onPictureChanged = [this](int slot) { ShowPicture(slot); };
    m_model.onPressedChanged = [this](int slot) {
        if (SlotControl *c = m_controls[static_cast<std::size_t>(slot)])
            c->setChecked(m_model.Pressed(slot));
    };
    LockKeys::DetectPlatform();
    BuildControls();
    Relayout();
    FollowArea();
}

void DevicePanel::FollowArea()
{
    if (m_area == parentWidget())
        return;
    if (m_area)
        m_area->removeEventFilter(this);
    m_area = parentWidget();
    if (m_area)
        m_area->installEventFilter(this);
    Refit();
}

DevicePanel::~DevicePanel()
{
    // The model goes before the child controls: nothing may reach them
    // through it any more.
    m_model.onPictureChanged = nullptr;
    m_model.onPressedChanged = nullptr;
    // The controls outlive this destructor (the widget base class deletes
    // them), and hiding the panel may move the focus out of one of them.
    for (SlotControl *control : m_controls)
        if (control)
            control->DetachFromPanel();
    for (SlotControl *control : m_side)
        if (control)
            control->DetachFromPanel();
}

void DevicePanel::BuildControls()
{
    fraBinding = new QFrame(this);
    fraBinding->setObjectName(QStringLiteral("fraBinding"));
    fraBinding->setMouseTracking(true);
    fraKeyboard = makeFrame("fraKeyboard", this);
    fraMouse = makeFrame("fraMouse", this);

    for (const KeyLayout &k : KeyboardLayout()) {
        auto *key = new SlotControl(SlotControl::Kind::Key, k.slot, this, fraKeyboard);
        key->setObjectName(QStringLiteral("cmdKey%1").arg(k.slot));
        key->setText(latin1(k.caption));
        if (IsVoidSlot(k.slot)) {
            key->setProperty("voidKey", true);
            key->setEnabled(false);
        }
        connect(key, &QAbstractButton::clicked, this, [this, slot = k.slot] { OnSlotClick(slot); });
        m_controls[static_cast<std::size_t>(k.slot)] = key;
    }

    imgMouse = new QLabel(fraMouse);
    imgMouse->setObjectName(QStringLiteral("imgMouse"));
    imgMouse->setMouseTracking(true);
    imgMouse->installEventFilter(this);
    for (int slot = kFirstMouseSlot; slot <= kLastMouseSlot; ++slot) {
        auto *button = new SlotControl(SlotControl::Kind::MouseButton, slot, this, fraMouse);
        button->setObjectName(QStringLiteral("cmdMouseBut%1").arg(slot));
        connect(button, &QAbstractButton::clicked, this, [this, slot] { OnSlotClick(slot); });
        m_controls[static_cast<std::size_t>(slot)] = button;
    }
    // The wheel lies over the middle button.
    m_controls[104]->raise();
    m_controls[105]->raise();
    for (int i = 0; i < kSideButtonCount; ++i) {
        auto *button = new SlotControl(SlotControl::Kind::MouseButton, -1, this, fraMouse);
        button->setObjectName(QStringLiteral("cmdMouseSide%1").arg(SideButtonKeyName(i).back()));
        button->hide();
        connect(button, &QAbstractButton::clicked, this, [this, button] { OnSlotClick(button->slot()); });
        m_side[static_cast<std::size_t>(i)] = button;
    }

    fraJoy = makeFrame("fraJoy", fraMouse);
    for (int slot = kFirstJoySlot; slot <= kLastJoySlot; ++slot) {
        auto *pic = new SlotControl(SlotControl::Kind::JoyButton, slot, this, fraJoy);
        pic->setObjectName(QStringLiteral("picJoyBut%1").arg(slot));
        connect(pic, &QAbstractButton::clicked, this, [this, slot] { OnSlotClick(slot); });
        m_controls[static_cast<std::size_t>(slot)] = pic;

        auto *label = new QLabel(QString::number(slot - kFirstJoySlot + 1), pic);
        label->setObjectName(QStringLiteral("lblJoyBut%1").arg(slot));
        label->setAlignment(Qt::AlignCenter);
        // Written in the label's own colour, not the button text colour the
        // button would hand down (light on a dark palette, on a light button).
        label->setForegroundRole(QPalette::WindowText);
        label->setMouseTracking(true);
        label->installEventFilter(this);
        lblJoyBut[static_cast<std::size_t>(slot - kFirstJoySlot)] = label;
    }

    for (int i = 0; i < 3; ++i) {
        auto *light = new QLabel(fraKeyboard);
        light->setObjectName(QStringLiteral("imgKeyLockLED%1").arg(i));
        light->installEventFilter(this);
        imgKeyLockLED[static_cast<std::size_t>(i)] = light;
        auto *label = new QLabel(latin1(LockLabelCaption(i)), fraKeyboard);
        label->setObjectName(QStringLiteral("lblKeyLock%1").arg(i));
        label->setAlignment(Qt::AlignCenter);
        label->installEventFilter(this);
        lblKeyLock[static_cast<std::size_t>(i)] = label;
    }

    fraKeyboard->installEventFilter(this);
    ApplyFonts();
}

void DevicePanel::ApplyFonts()
{
    // The captions shrink with the panel, so that they still fit their keys.
    for (const KeyLayout &k : KeyboardLayout()) {
        const CaptionFontSpec captionFont = CaptionFontOf(k.font);
        m_controls[static_cast<std::size_t>(k.slot)]->setFont(
            PanelImages::CaptionFont(latin1(captionFont.family), captionFont.pointSize * m_scale));
    }
    QFont small = PanelImages::CaptionFont(QStringLiteral("Small Fonts"), 6.75 * m_scale);
    for (QLabel *label : lblKeyLock)
        label->setFont(small);
    small.setBold(true);
    for (QLabel *label : lblJoyBut)
        label->setFont(small);
}

PanelFitInput DevicePanel::FitInput() const
{
    PanelFitInput in;
    const double dpiX = logicalDpiX(), dpiY = logicalDpiY();
    const int bindingHeight = BindingHeight();
    in.naturalWidth = TwipsToPixels(KeyboardFrameRect().width, dpiX) + TwipsToPixels(kFrameGapTwips, dpiX) +
                      TwipsToPixels(MouseFrameRect().width, dpiX);
    in.naturalHeight = TwipsToPixels(KeyboardFrameRect().height, dpiY) + 2 * TwipsToPixels(60, dpiY) +
                       (bindingHeight > 0 ? bindingHeight + TwipsToPixels(60, dpiY) : 0);
    if (const QWidget *area = parentWidget()) {
        in.availableWidth = area->width();
        if (m_editorLines > 0)
            in.areaHeight = area->height();
    }
    in.minLines = m_editorLines;
    // The script windows: a line of the editor font; file tabs and a title
    // bar of about two lines of the window font besides.
    QFont editorFont(QString::fromStdString(mGlobal::FontName));
    editorFont.setPointSize(std::max(mGlobal::FontSize, 1));
    editorFont.setBold(mGlobal::FontBold);
    in.lineHeight = QFontMetrics(editorFont).height();
    in.documentChrome = 2 * (fontMetrics().height() + 10);
    return in;
}

void DevicePanel::SetEditorLines(int lines)
{
    m_editorLines = std::max(lines, 0);
    Refit();
}

void DevicePanel::SetFixedScale(double scale)
{
    m_fixedScale = std::max(scale, 0.0);
    Refit();
}

void DevicePanel::Refit()
{
    const double scale = m_fixedScale > 0 ? m_fixedScale : PanelScale(FitInput());
    if (std::abs(scale - m_scale) < 0.01)
        return;
    m_scale = scale;
    ApplyFonts();
    Relayout();
    updateGeometry();
}

int DevicePanel::px(int twips) const
{
    return TwipsToPixels(twips, m_images.dpiX());
}

int DevicePanel::py(int twips) const
{
    return TwipsToPixels(twips, m_images.dpiY());
}

QRect DevicePanel::Scaled(const TwipsRect &r) const
{
    return QRect(px(r.left), py(r.top), px(r.width), py(r.height));
}

void DevicePanel::Relayout()
{
    const double oldX = m_images.dpiX(), oldY = m_images.dpiY();
    const qreal oldDpr = m_images.devicePixelRatio();
    // The pictures are drawn for the panel's scale and the screen's device
    // pixel ratio: sharp at any size.
    m_images.Build(logicalDpiX() * m_scale, logicalDpiY() * m_scale, devicePixelRatioF());
    if (oldX == m_images.dpiX() && oldY == m_images.dpiY() && oldDpr == m_images.devicePixelRatio()) {
        PlaceFrames();
        return;
    }

    fraKeyboard->resize(px(KeyboardFrameRect().width), py(KeyboardFrameRect().height));
    fraMouse->resize(px(MouseFrameRect().width), py(MouseFrameRect().height));
    for (const KeyLayout &k : KeyboardLayout()) {
        SlotControl *key = m_controls[static_cast<std::size_t>(k.slot)];
        key->setGeometry(Scaled(k.rect));
        key->SetCaptionRect(PanelImages::CapFaceRect(key->size(), m_images.dpiX(), m_images.dpiY()));
    }
    imgMouse->setGeometry(Scaled(MousePictureRect()));
    static_cast<QLabel *>(imgMouse)->setPixmap(m_images.MouseBody());
    for (int slot = kFirstMouseSlot; slot <= kLastMouseSlot; ++slot)
        m_controls[static_cast<std::size_t>(slot)]->setGeometry(Scaled(MouseButtonArea(slot)));
    for (int i = 0; i < kSideButtonCount; ++i) {
        m_side[static_cast<std::size_t>(i)]->setGeometry(Scaled(SideButtonArea(i)));
        ShowSidePicture(i);
    }
    fraJoy->setGeometry(Scaled(JoyFrameRect()));
    for (int slot = kFirstJoySlot; slot <= kLastJoySlot; ++slot) {
        m_controls[static_cast<std::size_t>(slot)]->setGeometry(Scaled(JoyButtonRect(slot)));
        QLabel *label = lblJoyBut[static_cast<std::size_t>(slot - kFirstJoySlot)];
        label->setGeometry(fitted(Scaled(JoyLabelRect()), label));
    }
    for (int i = 0; i < 3; ++i) {
        imgKeyLockLED[static_cast<std::size_t>(i)]->setGeometry(Scaled(LockLightRect(i)));
        QLabel *label = lblKeyLock[static_cast<std::size_t>(i)];
        label->setGeometry(fitted(Scaled(LockLabelRect(i)), label));
    }
    for (int slot = 0; slot < kPanelSlotCount; ++slot)
        ShowPicture(slot);
    m_lockStatesShown = false;
    UpdateLockLEDs();
    updateGeometry();
    PlaceFrames();
}

int DevicePanel::BindingHeight() const
{
    // An empty binding frame takes no room.
    if (!fraBinding->layout() && fraBinding->children().isEmpty())
        return 0;
    return std::max(fraBinding->sizeHint().height(), fraBinding->minimumSizeHint().height());
}

void DevicePanel::PlaceFrames()
{
    const int gap = px(kFrameGapTwips);
    const int margin = py(60);
    const FrameLefts lefts = CentreFrames(width(), fraKeyboard->width(), fraMouse->width(), gap);
    const int bindingHeight = BindingHeight();
    // Not hidden when empty, only flat: a hidden frame would not tell the
    // panel when a binding row is put into it.
    fraBinding->setGeometry(lefts.binding, margin, fraKeyboard->width() + gap + fraMouse->width(), bindingHeight);
    const int top = margin + (bindingHeight > 0 ? bindingHeight + margin : 0);
    fraKeyboard->move(lefts.keyboard, top);
    fraMouse->move(lefts.mouse, top);
}

QSize DevicePanel::sizeHint() const
{
    const int margin = py(60);
    const int bindingHeight = BindingHeight();
    const int height = margin + (bindingHeight > 0 ? bindingHeight + margin : 0) + fraKeyboard->height() + margin;
    return QSize(fraKeyboard->width() + px(kFrameGapTwips) + fraMouse->width(), height);
}

QSize DevicePanel::minimumSizeHint() const
{
    return QSize(0, sizeHint().height());
}

bool DevicePanel::event(QEvent *e)
{
    if (e->type() == QEvent::ParentChange)
        FollowArea();
    if (e->type() == QEvent::ScreenChangeInternal || e->type() == QEvent::LayoutRequest) {
        // Another screen may have another DPI; a filled binding frame needs room.
        const bool handled = QWidget::event(e);
        Relayout();
        updateGeometry();
        return handled;
    }
    return QWidget::event(e);
}

void DevicePanel::changeEvent(QEvent *e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::PaletteChange) {
        // The labels take their colours from the palette: paint them again.
        for (int slot = kFirstJoySlot; slot <= kLastJoySlot; ++slot)
            ShowPicture(slot);
        for (int i = 0; i < 3; ++i)
            setTextColor(lblKeyLock[static_cast<std::size_t>(i)],
                         m_lockStates[static_cast<std::size_t>(i)] ? PanelImages::LightOnTextColor()
                                                                   : PanelImages::LightOffTextColor(palette()));
    }
}

void DevicePanel::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    PlaceFrames();
}

void DevicePanel::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    Relayout();
}

// --- pictures -----------------------------------------------------------

void DevicePanel::ShowPicture(int slot)
{
    if (slot < 0 || slot >= kPanelSlotCount)
        return;
    SlotControl *c = m_controls[static_cast<std::size_t>(slot)];
    if (!c)
        return;
    const QPixmap picture = m_images.Image(latin1(m_model.Picture(slot)));
    c->SetPicture(picture);
    // A joystick number is written on its button: the palette's colour that
    // reads best on the button's face as this picture shows it.
    if (slot >= kFirstJoySlot && slot <= kLastJoySlot && !picture.isNull()) {
        const QImage face = picture.toImage();
        setTextColor(lblJoyBut[static_cast<std::size_t>(slot - kFirstJoySlot)],
                     PanelImages::ReadableInk(face.pixelColor(face.width() / 2, face.height() / 2), palette()));
    }
}

QString DevicePanel::ImageKey(int slot) const
{
    return latin1(m_model.Picture(slot));
}

void DevicePanel::SetKeyOff(int slot)
{
    if (const int side = SideIndexOf(slot); side >= 0)
        SetSideState(side, KeyPicture::Off);
    else
        m_model.SetKeyOff(slot);
}

void DevicePanel::SetKeyOn(int slot)
{
    if (const int side = SideIndexOf(slot); side >= 0)
        SetSideState(side, KeyPicture::On);
    else
        m_model.SetKeyOn(slot);
}

void DevicePanel::SetKeyCON(int slot)
{
    if (const int side = SideIndexOf(slot); side >= 0)
        SetSideState(side, KeyPicture::CON);
    else
        m_model.SetKeyCON(slot);
}

KeyPicture DevicePanel::KeyState(int slot) const
{
    if (const int side = SideIndexOf(slot); side >= 0)
        return m_sideStates[static_cast<std::size_t>(side)];
    return m_model.State(slot);
}

// --- side buttons -----------------------------------------------------------

int DevicePanel::SideIndexOf(int keyNumber) const
{
    if (keyNumber < kPanelSlotCount)
        return -1;
    for (int i = 0; i < kSideButtonCount; ++i)
        if (m_sideKeys[static_cast<std::size_t>(i)] == keyNumber)
            return i;
    return -1;
}

bool DevicePanel::ShowsKey(int keyNumber) const
{
    return (keyNumber >= 0 && keyNumber < kPanelSlotCount) || SideIndexOf(keyNumber) >= 0;
}

void DevicePanel::SetSideButtonKeys(int back, int forward)
{
    const std::array<int, kSideButtonCount> keys{back < kPanelSlotCount ? -1 : back,
                                                 forward < kPanelSlotCount ? -1 : forward};
    if (keys == m_sideKeys)
        return;
    m_sideKeys = keys;
    m_selectedSide = -1;
    for (int i = 0; i < kSideButtonCount; ++i) {
        SlotControl *button = m_side[static_cast<std::size_t>(i)];
        button->SetSlot(keys[static_cast<std::size_t>(i)]);
        button->setChecked(false);
        m_sideStates[static_cast<std::size_t>(i)] = KeyPicture::Off;
        ShowSidePicture(i);
        button->setVisible(keys[static_cast<std::size_t>(i)] >= 0);
    }
}

void DevicePanel::SetSideState(int index, KeyPicture state)
{
    KeyPicture &current = m_sideStates[static_cast<std::size_t>(index)];
    if (current == state)
        return;
    current = state;
    ShowSidePicture(index);
}

void DevicePanel::ShowSidePicture(int index)
{
    m_side[static_cast<std::size_t>(index)]->SetPicture(
        m_images.SideButton(index, m_sideStates[static_cast<std::size_t>(index)]));
}

void DevicePanel::PressSideButton(int index)
{
    // One pressed button on the whole mouse, and no key left highlighted.
    m_model.RestoreKeyState();
    m_model.ReleaseMouseButtons();
    ReleaseSideButtons();
    m_side[static_cast<std::size_t>(index)]->setChecked(true);
    m_selectedSide = index;
}

void DevicePanel::ReleaseSideButtons()
{
    for (SlotControl *button : m_side)
        button->setChecked(false);
}

void DevicePanel::SetKeyHL(int slot)
{
    m_model.SetKeyHL(slot);
}

void DevicePanel::SetDevicePanelEnabled(bool enabled)
{
    if (m_enabled == enabled)
        return; // called after every edit: nothing to do most of the time
    m_enabled = enabled;
    for (int slot = 0; slot < kPanelSlotCount; ++slot) {
        if (IsVoidSlot(slot))
            continue;
        m_controls[static_cast<std::size_t>(slot)]->setEnabled(enabled);
    }
    for (QLabel *label : lblJoyBut)
        label->setEnabled(enabled);
    for (SlotControl *button : m_side)
        button->setEnabled(enabled);
}

void DevicePanel::RestoreKeyState()
{
    m_model.RestoreKeyState();
}

void DevicePanel::ReleaseMouseButtons()
{
    m_model.ReleaseMouseButtons();
    ReleaseSideButtons();
}

void DevicePanel::ClearKeyStates()
{
    m_model.ClearKeyStates();
    ReleaseSideButtons();
    for (int i = 0; i < kSideButtonCount; ++i)
        SetSideState(i, KeyPicture::Off);
    m_selectedSide = -1;
}

void DevicePanel::ResetSelection()
{
    m_model.ResetSelection();
    m_selectedSide = -1;
}

int DevicePanel::SelectedSlot() const
{
    if (m_model.SelectedSlot() >= 0)
        return m_model.SelectedSlot();
    return m_selectedSide >= 0 ? m_sideKeys[static_cast<std::size_t>(m_selectedSide)] : -1;
}

QAbstractButton *DevicePanel::SlotButton(int slot) const
{
    if (const int side = SideIndexOf(slot); side >= 0)
        return m_side[static_cast<std::size_t>(side)];
    if (slot < 0 || slot >= kPanelSlotCount)
        return nullptr;
    return m_controls[static_cast<std::size_t>(slot)];
}

QLabel *DevicePanel::JoyLabel(int slot) const
{
    if (slot < kFirstJoySlot || slot > kLastJoySlot)
        return nullptr;
    return lblJoyBut[static_cast<std::size_t>(slot - kFirstJoySlot)];
}

QLabel *DevicePanel::LockLight(int index) const
{
    return index >= 0 && index < 3 ? imgKeyLockLED[static_cast<std::size_t>(index)] : nullptr;
}

QLabel *DevicePanel::LockLabel(int index) const
{
    return index >= 0 && index < 3 ? lblKeyLock[static_cast<std::size_t>(index)] : nullptr;
}

// --- selection ------------------------------------------------------------

void DevicePanel::SetKeyNameSource(SlotText source)
{
    m_keyName = std::move(source);
}

void DevicePanel::SetBoundTextSource(SlotText source)
{
    m_boundText = std::move(source);
}

QString DevicePanel::ToolTipFor(int slot) const
{
    const std::string name = m_keyName ? m_keyName(slot) : std::string();
    const std::string bound = m_boundText ? m_boundText(slot) : std::string();
    // The source gives the bound text as UTF-8, read in its script's encoding.
    const std::string tip = PanelToolTip(name, bound);
    return BytesToText(tip, Encoding::Utf8);
}

void DevicePanel::SelectAndReport(int slot)
{
    if (const int side = SideIndexOf(slot); side >= 0) {
        PressSideButton(side);
    } else {
        // Any other slot releases the side buttons (the model looks after
        // the mouse buttons).
        ReleaseSideButtons();
        m_selectedSide = -1;
        m_model.SelectSlot(slot);
    }
    const std::string name = m_keyName ? m_keyName(slot) : std::string();
    const std::string bound = m_boundText ? m_boundText(slot) : std::string();
    emit slotSelected(slot, latin1(name), QString::fromUtf8(bound.data(), static_cast<qsizetype>(bound.size())));
}

bool DevicePanel::ClickSlot(int slot)
{
    SlotControl *c = static_cast<SlotControl *>(SlotButton(slot));
    if (!c || !c->isEnabled())
        return false;
    if (SideIndexOf(slot) >= 0) {
        if (!c->isChecked())
            OnSlotClick(slot);
        return c->isChecked();
    }
    switch (DeviceOfSlot(slot)) {
    case SlotDevice::Mouse:
        if (!m_model.Pressed(slot))
            OnSlotClick(slot);
        return m_model.Pressed(slot);
    case SlotDevice::Keyboard:
    case SlotDevice::Joystick:
        // Focus first: a slot that loses it now is left before this one is
        // selected, as with a real click.
        c->setFocus(Qt::OtherFocusReason);
        SelectAndReport(slot);
        return true;
    case SlotDevice::None:
        break;
    }
    return false;
}

void DevicePanel::ShowSelectedSlot(int slot)
{
    if (const int side = SideIndexOf(slot); side >= 0) {
        PressSideButton(side);
        return;
    }
    if (slot < 0 || DeviceOfSlot(slot) == SlotDevice::None) {
        m_model.RestoreKeyState();
        ReleaseSideButtons();
        m_selectedSide = -1;
        return;
    }
    if (DeviceOfSlot(slot) == SlotDevice::Mouse && !m_model.Pressed(slot))
        m_model.ClickMouseButton(slot);
    ReleaseSideButtons();
    m_selectedSide = -1;
    m_model.SelectSlot(slot);
}

void DevicePanel::OnSlotClick(int slot)
{
    if (const int side = SideIndexOf(slot); side >= 0) {
        // A side button toggles like the other mouse buttons.
        SlotControl *button = m_side[static_cast<std::size_t>(side)];
        if (button->isChecked()) {
            button->setChecked(false);
            return;
        }
        PlayKeyClick();
        SelectAndReport(slot);
        return;
    }
    if (DeviceOfSlot(slot) != SlotDevice::Mouse) {
        PlayKeyClick();
        return;
    }
    // A mouse button toggles; only a click that leaves it pressed selects it.
    if (m_model.ClickMouseButton(slot)) {
        PlayKeyClick();
        SelectAndReport(slot);
    }
}

void DevicePanel::OnSlotMouseUp(SlotControl *control, Qt::MouseButton button)
{
    if (button == Qt::RightButton) {
        emit contextMenuRequested();
        return;
    }
    if (button == Qt::LeftButton && control->kind() != SlotControl::Kind::MouseButton)
        SelectAndReport(control->slot());
}

void DevicePanel::OnSlotMouseMove(SlotControl *control)
{
    control->setToolTip(ToolTipFor(control->slot()));
    if (control->kind() == SlotControl::Kind::JoyButton)
        return;
    emit pointerMoved();
    UpdateLockLEDs();
}

void DevicePanel::OnSlotKeyUp(SlotControl *control)
{
    if (control->kind() == SlotControl::Kind::Key)
        UpdateLockLEDs();
}

void DevicePanel::OnSlotLostFocus(SlotControl *control, Qt::FocusReason reason)
{
    if (control->kind() == SlotControl::Kind::MouseButton)
        return;
    // A menu opening or another window taking over is no leaving: the slot
    // stays selected for Find Next Conflict.
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason || reason == Qt::MenuBarFocusReason)
        return;
    m_model.RestoreKeyState();
    emit slotLeft(control->slot());
}

// --- lock lights ----------------------------------------------------------

void DevicePanel::UpdateLockLEDs()
{
    const std::array<bool, 3> states = LockKeys::States();
    if (m_lockStatesShown && states == m_lockStates)
        return;
    m_lockStates = states;
    m_lockStatesShown = true;
    for (int i = 0; i < 3; ++i) {
        const bool on = states[static_cast<std::size_t>(i)];
        imgKeyLockLED[static_cast<std::size_t>(i)]->setPixmap(
            m_images.List(QStringLiteral("ilsLEDs")).value(latin1(LockLightImageKey(on))));
        setTextColor(lblKeyLock[static_cast<std::size_t>(i)],
                     on ? PanelImages::LightOnTextColor() : PanelImages::LightOffTextColor(palette()));
    }
    emit lockStatesChanged(states[0], states[1], states[2]);
}

void DevicePanel::ToggleLockKey(int index)
{
    LockKeys::Toggle(index);
}

bool DevicePanel::LockState(int index) const
{
    return index >= 0 && index < 3 && m_lockStates[static_cast<std::size_t>(index)];
}

void DevicePanel::PlayKeyClick()
{
    ++m_keyClicks;
    KeyClickPlayer::Play(QString::fromStdString(mGlobal::KeyClickSound));
}

// --- the panel's own events and those of its frames and labels -------------

void DevicePanel::mouseMoveEvent(QMouseEvent *e)
{
    QWidget::mouseMoveEvent(e);
    emit pointerMoved();
    UpdateLockLEDs();
}

void DevicePanel::keyReleaseEvent(QKeyEvent *e)
{
    QWidget::keyReleaseEvent(e);
    UpdateLockLEDs();
}

void DevicePanel::contextMenuEvent(QContextMenuEvent *e)
{
    // The right button's release shows the frame's menu; nothing else may.
    e->accept();
}

void DevicePanel::dragEnterEvent(QDragEnterEvent *e)
{
    if (!DroppedFiles(e->mimeData()).isEmpty()) {
        e->setDropAction(Qt::CopyAction);
        e->accept();
    } else {
        e->ignore();
    }
}

void DevicePanel::dragMoveEvent(QDragMoveEvent *e)
{
    if (!DroppedFiles(e->mimeData()).isEmpty()) {
        e->setDropAction(Qt::CopyAction);
        e->accept();
    } else {
        e->ignore();
    }
}

void DevicePanel::dropEvent(QDropEvent *e)
{
    const QStringList files = DroppedFiles(e->mimeData());
    if (files.isEmpty()) {
        e->ignore();
        return;
    }
    e->setDropAction(Qt::CopyAction);
    e->accept();
    emit filesDropped(files);
}

bool DevicePanel::eventFilter(QObject *watched, QEvent *e)
{
    const QEvent::Type type = e->type();
    const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
    const bool release = type == QEvent::MouseButtonRelease;
    auto *mouse = (press || release || type == QEvent::MouseMove) ? static_cast<QMouseEvent *>(e) : nullptr;

    // The area the panel sits in changed its size: the panel fits it again.
    if (watched == m_area) {
        if (type == QEvent::Resize)
            Refit();
        return false;
    }

    // The keyboard frame and the mouse picture: status reset, lights, menu.
    if (watched == fraKeyboard || watched == imgMouse) {
        if (type == QEvent::MouseMove) {
            emit pointerMoved();
            UpdateLockLEDs();
            return true; // handled: the panel behind need not see it again
        } else if (press && mouse->button() == Qt::RightButton) {
            return true; // so that the release comes back here
        } else if (release && mouse->button() == Qt::RightButton) {
            emit contextMenuRequested();
            return true;
        }
        return QWidget::eventFilter(watched, e);
    }

    // A joystick label stands for its button.
    for (std::size_t i = 0; i < lblJoyBut.size(); ++i) {
        if (watched != lblJoyBut[i])
            continue;
        const int slot = kFirstJoySlot + static_cast<int>(i);
        SlotControl *pic = m_controls[static_cast<std::size_t>(slot)];
        if (!lblJoyBut[i]->isEnabled())
            return QWidget::eventFilter(watched, e);
        if (type == QEvent::MouseMove) {
            lblJoyBut[i]->setToolTip(ToolTipFor(slot));
            return true;
        } else if (press) {
            pic->setFocus(Qt::MouseFocusReason);
            return true;
        } else if (release) {
            if (mouse->button() == Qt::LeftButton && lblJoyBut[i]->rect().contains(mouse->position().toPoint()))
                PlayKeyClick();
            OnSlotMouseUp(pic, mouse->button());
            return true;
        }
        return QWidget::eventFilter(watched, e);
    }

    // A lock light or its label toggles its lock key.
    for (int i = 0; i < 3; ++i) {
        QWidget *light = imgKeyLockLED[static_cast<std::size_t>(i)];
        QWidget *label = lblKeyLock[static_cast<std::size_t>(i)];
        if (watched != light && watched != label)
            continue;
        auto *w = static_cast<QWidget *>(watched);
        if (press && mouse->button() == Qt::LeftButton)
            return true;
        if (release && mouse->button() == Qt::LeftButton && w->rect().contains(mouse->position().toPoint())) {
            ToggleLockKey(i);
            UpdateLockLEDs();
            return true;
        }
        return QWidget::eventFilter(watched, e);
    }
    return QWidget::eventFilter(watched, e);
}

} // namespace varkel
