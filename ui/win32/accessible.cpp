// The client objects that screen readers get from the windows of the layer
// (see accessible.h). Calls come from other processes through COM, on the
// window's thread, between its messages. Child ids are 1-based places in the
// holder's list of controls; a control with a window of its own is the
// platform's object for that window, a drawn one is a simple element.
#include "ui/win32/accessible.h"

#include <oleacc.h>

#include <algorithm>
#include <string>
#include <type_traits>
#include <vector>

#include "datastore/failure.h"
#include "datastore/wide.h"
#include "ui/controls/image.h"
#include "ui/controls/label.h"
#include "ui/controls/timer.h"
#include "ui/win32/children.h"
#include "ui/win32/late_library.h"
#include "ui/win32/mouse.h"
#include "ui/win32/pictures.h"
#include "ui/win32/win32_form.h"

namespace bv::ui::win32::accessible {

namespace {

struct Library {
    decltype(&LresultFromObject) lresultFromObject = nullptr;
    decltype(&CreateStdAccessibleObject) createStd = nullptr;
    decltype(&AccessibleObjectFromWindow) fromWindow = nullptr;
    decltype(&SysAllocString) allocString = nullptr;
    decltype(&CoDisconnectObject) disconnect = nullptr;
};

// Null when a library or function is missing; looked up once.
const Library* library() {
    static const Library found = [] {
        Library lib;
        lib.lresultFromObject =
            lateFunctionIfThere<decltype(lib.lresultFromObject)>("oleacc.dll", "LresultFromObject");
        lib.createStd =
            lateFunctionIfThere<decltype(lib.createStd)>("oleacc.dll", "CreateStdAccessibleObject");
        lib.fromWindow = lateFunctionIfThere<decltype(lib.fromWindow)>(
            "oleacc.dll", "AccessibleObjectFromWindow");
        lib.allocString =
            lateFunctionIfThere<decltype(lib.allocString)>("oleaut32.dll", "SysAllocString");
        lib.disconnect =
            lateFunctionIfThere<decltype(lib.disconnect)>("ole32.dll", "CoDisconnectObject");
        return lib;
    }();
    const bool whole = found.lresultFromObject && found.createStd && found.fromWindow &&
                       found.allocString && found.disconnect;
    return whole ? &found : nullptr;
}

// What a drawn control is to a screen reader.
enum class Role { Text, Button, Graphic };

Role roleOf(const Child& child) {
    if (dynamic_cast<const Label*>(&child.control()))
        return Role::Text;
    const auto* image = dynamic_cast<const Image*>(&child.control());
    // The bar's background answers only the right button: a press area
    // without a name is no button.
    const char* tip = child.control().spec().tooltip;
    if (image && (image->Click || (image->MouseDown && tip && *tip)))
        return Role::Button;
    return Role::Graphic;
}

// The holder's controls as listed: drawn ones and those with a window
// (timers and dialogs have neither).
std::vector<Child*> listed(Win32Form& form, const Child* holder) {
    std::vector<Child*> out;
    for (const auto& child : form.children().all())
        if (child->container() == holder && (child->drawnByContainer() || child->hwnd()))
            out.push_back(child.get());
    return out;
}

long idOf(const Child& child) {
    const std::vector<Child*> list = listed(child.form(), child.container());
    const auto at = std::find(list.begin(), list.end(), &child);
    return at == list.end() ? 0 : static_cast<long>(at - list.begin()) + 1;
}

bool pressed(const Child& child) {
    const auto* image = dynamic_cast<const Image*>(&child.control());
    return image && image->pressedWhile && image->pressedWhile->enabled();
}

class Object;
std::vector<Object*> gObjects;  // one reference each, dropped at the window's end

// COM objects are deleted by their own Release, never through the interface.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class Object final : public IAccessible {
  public:
    Object(const Library& lib, Win32Form& form, Child* holder, HWND window)
        : lib_(lib), form_(&form), holder_(holder), window_(window) {}

    const Win32Form* form() const { return form_; }
    HWND window() const { return window_; }

    void disconnect() {
        form_ = nullptr;
        holder_ = nullptr;
        if (std_)
            std_->Release();
        std_ = nullptr;
        lib_.disconnect(static_cast<IAccessible*>(this), 0);
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) ||
            iid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        return static_cast<ULONG>(InterlockedIncrement(&refs_));
    }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    // IDispatch: screen readers call IAccessible directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return self() ? self()->get_accParent(parent) : gone();
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (!form_)
            return gone();
        if (!count)
            return E_POINTER;
        *count = static_cast<long>(listed(*form_, holder_).size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT id, IDispatch** out) override {
        if (!form_)
            return gone();
        if (!out)
            return E_POINTER;
        *out = nullptr;
        Child* child = childOf(id);
        if (!child)
            return E_INVALIDARG;
        if (child->drawnByContainer())
            return S_FALSE;
        return platformObject(*child, __uuidof(IDispatch), reinterpret_cast<void**>(out));
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT id, BSTR* name) override {
        return text(
            id, name, &IAccessible::get_accName,
            [](const Child& child) {
                if (const auto* label = dynamic_cast<const Label*>(&child.control()))
                    return label->caption();
                const char* tip = child.control().spec().tooltip;
                return std::string(tip ? tip : "");
            });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT id, BSTR* value) override {
        return text(id, value, &IAccessible::get_accValue, nullptr);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT id, BSTR* out) override {
        return text(id, out, &IAccessible::get_accDescription, nullptr);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT id, VARIANT* role) override {
        return number(
            id, role, &IAccessible::get_accRole,
            [](const Child& child) -> long {
                switch (roleOf(child)) {
                    case Role::Text:
                        return ROLE_SYSTEM_STATICTEXT;
                    case Role::Button:
                        return ROLE_SYSTEM_PUSHBUTTON;
                    case Role::Graphic:
                        break;
                }
                return ROLE_SYSTEM_GRAPHIC;
            });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT id, VARIANT* state) override {
        return number(
            id, state, &IAccessible::get_accState,
            [this](const Child& child) {
                long bits = roleOf(child) == Role::Text ? STATE_SYSTEM_READONLY : 0;
                if (!child.control().visible() || !IsWindowVisible(window_))
                    bits |= STATE_SYSTEM_INVISIBLE;
                if (!IsWindowEnabled(window_))
                    bits |= STATE_SYSTEM_UNAVAILABLE;
                if (pressed(child))
                    bits |= STATE_SYSTEM_PRESSED;
                return bits;
            });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT id, BSTR* out) override {
        return text(id, out, &IAccessible::get_accHelp, nullptr);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT id, long* topic) override {
        if (!form_)
            return gone();
        if (isSelf(id))
            return self() ? self()->get_accHelpTopic(file, id, topic) : E_FAIL;
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT id, BSTR* out) override {
        return text(id, out, &IAccessible::get_accKeyboardShortcut, nullptr);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        return self() ? self()->get_accFocus(focus) : gone();
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        return self() ? self()->get_accSelection(selection) : gone();
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT id, BSTR* out) override {
        return text(
            id, out, &IAccessible::get_accDefaultAction,
            [](const Child& child) {
                return std::string(roleOf(child) == Role::Button ? "Press" : "");
            });
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT id) override {
        if (!form_)
            return gone();
        if (isSelf(id))
            return self() ? self()->accSelect(flags, id) : E_FAIL;
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT id) override {
        if (!form_)
            return gone();
        if (!left || !top || !width || !height)
            return E_POINTER;
        if (isSelf(id))
            return self() ? self()->accLocation(left, top, width, height, id) : E_FAIL;
        Child* child = childOf(id);
        if (!child)
            return E_INVALIDARG;
        RECT r = child->rect();
        if (!child->drawnByContainer())
            GetWindowRect(child->hwnd(), &r);
        else
            MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&r), 2);
        *left = r.left;
        *top = r.top;
        *width = r.right - r.left;
        *height = r.bottom - r.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        if (const HRESULT hr = ready(end); hr != S_OK)
            return hr;
        const std::vector<Child*> list = listed(*form_, holder_);
        long at = 0;
        if (isSelf(start)) {
            if (direction == NAVDIR_FIRSTCHILD)
                at = 1;
            else if (direction == NAVDIR_LASTCHILD)
                at = static_cast<long>(list.size());
            else
                return self() ? self()->accNavigate(direction, start, end) : E_FAIL;
        } else {
            if (!childOf(start))
                return E_INVALIDARG;
            if (direction == NAVDIR_NEXT)
                at = start.lVal + 1;
            else if (direction == NAVDIR_PREVIOUS)
                at = start.lVal - 1;
            else
                return DISP_E_MEMBERNOTFOUND;
        }
        if (at < 1 || at > static_cast<long>(list.size()))
            return S_FALSE;
        return element(list[static_cast<std::size_t>(at - 1)], at, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* out) override {
        if (const HRESULT hr = ready(out); hr != S_OK)
            return hr;
        POINT at{x, y};
        ScreenToClient(window_, &at);
        RECT client{};
        GetClientRect(window_, &client);
        // Controls with a window lie above the drawn ones.
        const HWND over = ChildWindowFromPointEx(window_, at, CWP_SKIPINVISIBLE);
        if (PtInRect(&client, at) && over == window_) {
            if (Child* drawn = form_->children().hitTest(holder_, at))
                return element(drawn, idOf(*drawn), out);
        }
        return self() ? self()->accHitTest(x, y, out) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT id) override {
        if (!form_)
            return gone();
        if (isSelf(id))
            return self() ? self()->accDoDefaultAction(id) : E_FAIL;
        Child* child = childOf(id);
        if (!child)
            return E_INVALIDARG;
        if (!child->drawnByContainer() || roleOf(*child) != Role::Button)
            return DISP_E_MEMBERNOTFOUND;
        if (!child->control().visible())
            return E_FAIL;
        return PostMessageW(window_, kPress, static_cast<WPARAM>(child->index()), 0) ? S_OK
                                                                                     : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

  private:
    static HRESULT gone() { return CO_E_OBJNOTCONNECTED; }
    // Connected and given somewhere to answer, which is emptied.
    HRESULT ready(VARIANT* out) const {
        if (!form_)
            return gone();
        if (!out)
            return E_POINTER;
        out->vt = VT_EMPTY;
        return S_OK;
    }
    static bool isSelf(const VARIANT& id) { return id.vt == VT_I4 && id.lVal == CHILDID_SELF; }

    // The platform's own object for the window, which knows its place,
    // parent and focus.
    IAccessible* self() {
        if (!form_)
            return nullptr;
        if (!std_)
            lib_.createStd(window_, OBJID_CLIENT, __uuidof(IAccessible),
                           reinterpret_cast<void**>(&std_));
        return std_;
    }

    Child* childOf(const VARIANT& id) const {
        if (id.vt != VT_I4 || id.lVal < 1)
            return nullptr;
        const std::vector<Child*> list = listed(*form_, holder_);
        return id.lVal <= static_cast<long>(list.size())
                   ? list[static_cast<std::size_t>(id.lVal - 1)]
                   : nullptr;
    }

    // A drawn child as its id, one with a window as the platform's object.
    HRESULT element(Child* child, long id, VARIANT* out) const {
        if (child->drawnByContainer()) {
            out->vt = VT_I4;
            out->lVal = id;
            return S_OK;
        }
        IDispatch* object = nullptr;
        const HRESULT hr =
            platformObject(*child, __uuidof(IDispatch), reinterpret_cast<void**>(&object));
        if (FAILED(hr))
            return hr;
        out->vt = VT_DISPATCH;
        out->pdispVal = object;
        return S_OK;
    }

    // The platform's object for a child with a window, held by the caller.
    HRESULT platformObject(const Child& child, REFIID iid, void** out) const {
        return lib_.fromWindow(child.hwnd(), static_cast<DWORD>(OBJID_WINDOW), iid, out);
    }

    // A property: the window's own or a windowed child's from the platform,
    // a drawn child's from `drawn`.
    template <class Out, class Drawn>
    HRESULT property(VARIANT id, Out* out,
                     HRESULT (STDMETHODCALLTYPE IAccessible::*ask)(VARIANT, Out*), Drawn drawn) {
        if (!form_)
            return gone();
        if (!out)
            return E_POINTER;
        if (isSelf(id))
            return self() ? (self()->*ask)(id, out) : E_FAIL;
        Child* child = childOf(id);
        if (!child)
            return E_INVALIDARG;
        if (!child->drawnByContainer()) {
            IAccessible* object = nullptr;
            platformObject(*child, __uuidof(IAccessible), reinterpret_cast<void**>(&object));
            if (!object)
                return E_FAIL;
            VARIANT whole{};
            whole.vt = VT_I4;
            whole.lVal = CHILDID_SELF;
            const HRESULT hr = (object->*ask)(whole, out);
            object->Release();
            return hr;
        }
        return drawn(*child);
    }

    template <class Drawn>
    HRESULT text(VARIANT id, BSTR* out,
                 HRESULT (STDMETHODCALLTYPE IAccessible::*ask)(VARIANT, BSTR*), Drawn drawn) {
        if (out)
            *out = nullptr;
        return property(id, out, ask, [&](const Child& child) -> HRESULT {
            if constexpr (std::is_same_v<Drawn, std::nullptr_t>) {
                return DISP_E_MEMBERNOTFOUND;
            } else {
                const std::wstring value = text::widen(drawn(child));
                if (value.empty())
                    return S_FALSE;
                *out = lib_.allocString(value.c_str());
                return *out ? S_OK : E_OUTOFMEMORY;
            }
        });
    }

    template <class Drawn>
    HRESULT number(VARIANT id, VARIANT* out,
                   HRESULT (STDMETHODCALLTYPE IAccessible::*ask)(VARIANT, VARIANT*), Drawn drawn) {
        if (out)
            out->vt = VT_EMPTY;
        return property(id, out, ask, [&](const Child& child) -> HRESULT {
            out->vt = VT_I4;
            out->lVal = drawn(child);
            return S_OK;
        });
    }

    const Library& lib_;
    Win32Form* form_;  // null once disconnected: nothing of the window is touched
    Child* holder_;
    HWND window_;
    IAccessible* std_ = nullptr;
    LONG refs_ = 1;
};
#pragma GCC diagnostic pop

// A left click on a drawn button, as the mouse gives it: a press in its
// middle, then the click if the press left it there.
void press(Win32Form& form, Child* holder, WPARAM index) {
    Child* child = form.children().at(static_cast<int>(index));
    if (!child || child->container() != holder || !child->drawnByContainer() ||
        !child->control().visible())
        return;
    Control& control = child->control();
    const RECT& place = child->rect();
    const POINT middle{(place.left + place.right) / 2, (place.top + place.bottom) / 2};
    const MouseArgs args = mouseArgs(MK_LBUTTON, middle, place);
    if (form.app().raise(control, EventKind::MouseDown, args) && control.visible())
        form.app().raise(control, EventKind::Click);
}

}  // namespace

bool onMessage(Win32Form& form, Child* holder, HWND window, UINT msg, WPARAM wp, LPARAM lp,
               LRESULT& result) {
    if (msg == kPress) {
        press(form, holder, wp);
        result = 0;
        return true;
    }
    if (msg != WM_GETOBJECT || static_cast<LONG>(static_cast<DWORD>(lp)) != OBJID_CLIENT)
        return false;
    const Library* lib = library();
    if (!lib)
        return false;
    // Objects are handed over through COM, which the thread must have.
    try {
        startOle();
    } catch (const Failure&) {
        return false;
    }
    auto found = std::find_if(gObjects.begin(), gObjects.end(),
                              [&](const Object* o) { return o->window() == window && o->form(); });
    Object* object = found != gObjects.end() ? *found : nullptr;
    if (!object) {
        object = new Object(*lib, form, holder, window);
        gObjects.push_back(object);
    }
    result = lib->lresultFromObject(__uuidof(IAccessible), wp, static_cast<IAccessible*>(object));
    return true;
}

void disconnect(Win32Form& form) {
    std::vector<Object*> ending;
    for (Object* object : gObjects)
        if (object->form() == &form)
            ending.push_back(object);
    gObjects.erase(std::remove_if(gObjects.begin(), gObjects.end(),
                                  [&](const Object* o) { return o->form() == &form; }),
                   gObjects.end());
    for (Object* object : ending) {
        object->disconnect();
        object->Release();
    }
}

void changed(const Child& child, DWORD event) {
    HWND window = child.form().children().surface(child.container());
    const long id = idOf(child);
    if (window && id)
        NotifyWinEvent(event, window, OBJID_CLIENT, id);
}

void runningChanged(Win32Form& form, const Timer& timer) {
    for (const auto& child : form.children().all()) {
        const auto* image = dynamic_cast<const Image*>(&child->control());
        if (image && image->pressedWhile == &timer)
            changed(*child, EVENT_OBJECT_STATECHANGE);
    }
}

}  // namespace bv::ui::win32::accessible
