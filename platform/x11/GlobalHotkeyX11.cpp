#include "platform/x11/GlobalHotkeyX11.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <cstdlib>
#include <cstring>

#include "core/HotkeyValue.h"
#include "logging/LogCategories.h"
#include "platform/VirtualKeyMap.h"
#include "platform/x11/KeysymTable.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11Keyboard.h"

namespace platform::x11 {
namespace {

// The modifier bits a hotkey can use: Shift, Control and Mod1-Mod5. Lock (CapsLock), NumLock and
// the pointer button bits are ignored when matching a key press.
constexpr std::uint16_t kModifierBits = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 |
                                        XCB_MOD_MASK_2 | XCB_MOD_MASK_3 | XCB_MOD_MASK_4 |
                                        XCB_MOD_MASK_5;

// The XKEYBOARD events that announce a new mapping (the xkbType byte of an XKB event). A client
// that uses XKB, as Qt does, gets these instead of the core MappingNotify.
constexpr std::uint8_t kXkbNewKeyboardNotify = 0;
constexpr std::uint8_t kXkbMapNotify = 1;

std::vector<std::uint16_t> LockVariants(std::uint16_t numLockMask) {
    std::vector<std::uint16_t> variants{0, XCB_MOD_MASK_LOCK};
    if (numLockMask != 0) {
        variants.push_back(numLockMask);
        variants.push_back(static_cast<std::uint16_t>(numLockMask | XCB_MOD_MASK_LOCK));
    }
    return variants;
}

xcb_query_extension_cookie_t QueryXkb(xcb_connection_t* connection) {
    const char* name = "XKEYBOARD";
    return xcb_query_extension(connection, static_cast<uint16_t>(std::strlen(name)), name);
}

QString Describe(unsigned modifiers, unsigned virtualKey) {
    return QString::fromStdString(
        HotkeyDisplayText(hotkey::ModToControlFlags(modifiers), virtualKey));
}

}  // namespace

CGlobalHotkeyX11::CGlobalHotkeyX11(QObject* parent, bool desktopWide)
    : IGlobalHotkey(parent), m_desktopWide(desktopWide) {
    if (const auto x = GetQtConnection()) {
        m_connection = x->connection;
        m_root = x->root;
        // Asked now, read when the first event comes: start-up does not wait for the answer.
        m_xkbQuery = QueryXkb(m_connection);
        QCoreApplication::instance()->installNativeEventFilter(this);
    } else {
        qCWarning(lcPlatform) << "no X11 connection: the global hotkey is not available";
    }
}

CGlobalHotkeyX11::~CGlobalHotkeyX11() {
    if (m_connection == nullptr) {
        return;
    }
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
    if (m_xkbQuery) {
        xcb_discard_reply(m_connection, m_xkbQuery->sequence);
    }
    UngrabAll();
}

bool CGlobalHotkeyX11::IsGrabbed(xcb_keycode_t keycode, std::uint16_t modifiers) const {
    for (const Grab& grab : m_grabs) {
        if (grab.keycode == keycode && grab.modifiers == modifiers) {
            return true;
        }
    }
    return false;
}

HotkeyRegistration CGlobalHotkeyX11::Register(int id, unsigned modifiers, unsigned virtualKey) {
    if (virtualKey == 0) {
        return HotkeyRegistration::kRegistered;  // no hotkey: grabbing key 0 would take every key
    }
    if (m_connection == nullptr) {
        return HotkeyRegistration::kRefused;
    }
    const Combination combination{id, modifiers, virtualKey};
    const CX11Keyboard keyboard(m_connection);
    if (!GrabCombination(combination, keyboard)) {
        return HotkeyRegistration::kRefused;
    }
    m_combinations.push_back(combination);
    return HotkeyRegistration::kRegistered;
}

bool CGlobalHotkeyX11::GrabCombination(const Combination& combination,
                                       const CX11Keyboard& keyboard) {
    const QString name = Describe(combination.modifiers, combination.virtualKey);
    const std::uint32_t keysym = VirtualKeyToKeysym(combination.virtualKey);
    const std::vector<xcb_keycode_t> keycodes = keyboard.KeycodesFor(keysym);
    if (keycodes.empty()) {
        qCWarning(lcPlatform).nospace()
            << "hotkey " << name << " not grabbed: no key carries keysym 0x" << Qt::hex << keysym;
        return false;
    }
    m_numLockMask = keyboard.NumLockMask();
    const std::uint16_t mask = keyboard.ToModifierMask(combination.modifiers);

    struct Pending {
        xcb_keycode_t keycode;
        std::uint16_t modifiers;
        xcb_void_cookie_t cookie;
    };
    std::vector<Pending> pending;
    std::vector<Grab> added;
    for (xcb_keycode_t keycode : keycodes) {
        if (IsGrabbed(keycode, mask)) {
            continue;  // already ours: grabbing again would change nothing
        }
        added.push_back({combination.id, keycode, mask});
        for (std::uint16_t lock : LockVariants(m_numLockMask)) {
            const auto combined = static_cast<std::uint16_t>(mask | lock);
            // owner_events false: the press is reported on the root window even while one of
            // our own windows has the focus.
            pending.push_back({keycode, combined,
                               xcb_grab_key_checked(m_connection, 0, m_root, combined, keycode,
                                                    XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC)});
        }
    }

    bool refused = false;
    std::vector<Pending> granted;
    for (const Pending& request : pending) {
        if (xcb_generic_error_t* error = xcb_request_check(m_connection, request.cookie)) {
            if (!refused) {
                qCWarning(lcPlatform).nospace()
                    << "hotkey " << name << " refused: GrabKey on keycode " << request.keycode
                    << " failed with X error " << error->error_code
                    << " (another client holds the combination)";
            }
            refused = true;
            std::free(error);
        } else {
            granted.push_back(request);
        }
    }
    if (refused) {
        for (const Pending& request : granted) {
            xcb_ungrab_key(m_connection, request.keycode, m_root, request.modifiers);
        }
        xcb_flush(m_connection);
        return false;
    }
    m_grabs.insert(m_grabs.end(), added.begin(), added.end());
    return true;
}

void CGlobalHotkeyX11::UngrabAll() {
    for (const Grab& grab : m_grabs) {
        for (std::uint16_t lock : LockVariants(m_numLockMask)) {
            xcb_ungrab_key(m_connection, grab.keycode, m_root,
                           static_cast<uint16_t>(grab.modifiers | lock));
        }
    }
    m_grabs.clear();
    xcb_flush(m_connection);
}

void CGlobalHotkeyX11::ScheduleRegrab() {
    if (m_regrabPending || m_combinations.empty()) {
        return;
    }
    // A layout switch or an xmodmap run sends several events; regrab once after them.
    m_regrabPending = true;
    QMetaObject::invokeMethod(
        this, [this] { Regrab(); }, Qt::QueuedConnection);
}

void CGlobalHotkeyX11::Regrab() {
    m_regrabPending = false;
    UngrabAll();
    const CX11Keyboard keyboard(m_connection);
    for (const Combination& combination : m_combinations) {
        GrabCombination(combination, keyboard);
    }
}

std::uint8_t CGlobalHotkeyX11::XkbEventBase() const {
    if (m_xkbQuery) {
        xcb_query_extension_reply_t* reply =
            xcb_query_extension_reply(m_connection, *m_xkbQuery, nullptr);
        m_xkbEventBase = reply != nullptr && reply->present ? reply->first_event : 0;
        std::free(reply);
        m_xkbQuery.reset();
    }
    return m_xkbEventBase;
}

bool CGlobalHotkeyX11::IsMappingChange(const xcb_generic_event_t* event) const {
    const std::uint8_t type = event->response_type & 0x7f;
    if (type == XCB_MAPPING_NOTIFY) {
        const auto* mapping = reinterpret_cast<const xcb_mapping_notify_event_t*>(event);
        return mapping->request == XCB_MAPPING_KEYBOARD || mapping->request == XCB_MAPPING_MODIFIER;
    }
    if (const std::uint8_t xkbBase = XkbEventBase(); xkbBase != 0 && type == xkbBase) {
        const std::uint8_t xkbType = event->pad0;
        return xkbType == kXkbNewKeyboardNotify || xkbType == kXkbMapNotify;
    }
    return false;
}

bool CGlobalHotkeyX11::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t" || message == nullptr) {
        return false;
    }
    auto* event = static_cast<xcb_generic_event_t*>(message);
    if (IsMappingChange(event)) {
        ScheduleRegrab();
        return false;  // Qt updates its own keymap from the same event
    }
    const uint8_t type = event->response_type & 0x7f;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) {
        return false;
    }
    auto* key = static_cast<xcb_key_press_event_t*>(message);
    if (key->event != m_root) {
        return false;
    }
    const auto state = static_cast<std::uint16_t>(key->state & kModifierBits & ~m_numLockMask);
    for (const Grab& grab : m_grabs) {
        if (grab.keycode == key->detail && grab.modifiers == state) {
            if (type == XCB_KEY_PRESS) {
                // Delivered after Qt has finished with the native event.
                QMetaObject::invokeMethod(
                    this, [this, id = grab.id] { emit activated(id); }, Qt::QueuedConnection);
            }
            return true;
        }
    }
    return false;
}

}  // namespace platform::x11
