// In-memory windows and controls, timers, pauses and message boxes.
#include <algorithm>
#include <list>
#include <map>
#include <stdexcept>

#include "../common/picture.h"
#include "headless/controls.h"
#include "internal.h"

namespace headless {

using namespace platform;

// ---------------------------------------------------------------------------
// Controls

bool HControl::usable() const {
    for (const HControl* c = this; c; c = c->parent)
        if (!c->enabled_) return false;
    return true;
}

bool HControl::shown() const {
    for (const HControl* c = this; c; c = c->parent) {
        if (!c->visible_) return false;
        if (c->kind_ == Kind::TabPage && c->parent && c->parent->kind_ == Kind::TabControl) {
            auto* tabs = dynamic_cast<const HTabControl*>(c->parent);
            if (tabs && tabs->pageControl(tabs->page()) != c) return false;
        }
    }
    return true;
}

void HControl::setFocus() {
    if (window) window->focusedControl = this;
}

bool HControl::focused() const { return window && window->focusedControl == this; }

void HRadioButton::setChecked(bool on) {
    checked_ = on;
    if (!on || !window) return;
    for (auto& c : window->controls)
        if (c.get() != this && c->parent == parent && c->kind() == Kind::RadioButton)
            static_cast<HRadioButton*>(c.get())->checked_ = false;
}

void HComboBox::insertItem(int pos, const Text& text, int32_t value) {
    if (pos < 0 || pos >= count()) {
        items_.push_back({text, value});
        return;
    }
    items_.insert(items_.begin() + pos, {text, value});
    if (selected_ >= pos) ++selected_;
}

void HComboBox::deleteItem(int pos) {
    if (pos < 0 || pos >= count()) return;
    items_.erase(items_.begin() + pos);
    if (selected_ == pos)
        selected_ = -1;
    else if (selected_ > pos)
        --selected_;
}

void HComboBox::select(int pos) {
    if (pos < 0 || count() == 0)
        selected_ = -1;
    else
        selected_ = std::min(pos, count() - 1);
}

const HControl* HTabControl::pageControl(int index) const {
    int i = 0;
    if (!window) return nullptr;
    for (auto& c : window->controls)
        if (c->parent == this && c->kind() == Kind::TabPage) {
            if (i == index) return c.get();
            ++i;
        }
    return nullptr;
}

int HTabControl::pageCount() const {
    int n = 0;
    if (window)
        for (auto& c : window->controls)
            if (c->parent == this && c->kind() == Kind::TabPage) ++n;
    return n;
}

std::optional<Size> HCanvas::measurePicture(const std::string& bytes) {
    auto info = InspectPicture(bytes);
    if (!info) return std::nullopt;
    return Size{info->width, info->height};
}

void HTimer::setPeriod(int milliseconds) {
    period_ = milliseconds < 0 ? 0 : milliseconds;
    if (period_ > 0 && window) {
        nextDue = window->loop->machine.nowMicros + int64_t(period_) * 1000;
        seq = window->loop->machine.nextSeq++;
    }
}

// ---------------------------------------------------------------------------
// Windows

namespace {

std::unique_ptr<HControl> MakeControl(const ControlForm& f) {
    switch (f.kind) {
        case Kind::Label: return std::make_unique<HLabel>();
        case Kind::Button: return std::make_unique<HButton>();
        case Kind::CheckBox: return std::make_unique<HCheckBox>();
        case Kind::RadioButton: return std::make_unique<HRadioButton>();
        case Kind::ComboBox: return std::make_unique<HComboBox>();
        case Kind::Edit:
        case Kind::Memo: return std::make_unique<HEdit>();
        case Kind::GroupBox: return std::make_unique<HGroupBox>();
        case Kind::TabControl: return std::make_unique<HTabControl>();
        case Kind::TabPage: return std::make_unique<HTabPage>();
        case Kind::ProgressBar: return std::make_unique<HProgressBar>();
        case Kind::PictureBox: return std::make_unique<HPictureBox>();
        case Kind::Canvas: return std::make_unique<HCanvas>();
        case Kind::Shape: return std::make_unique<HShape>();
        case Kind::Timer: return std::make_unique<HTimer>();
    }
    throw std::logic_error("unknown control kind");
}

}  // namespace

HWindow::HWindow(EventLoop& l, const FormSpec& form) : loop(&l), form_(form) {
    name_ = form.name;
    caption_ = form.caption;
    place_ = form.place;
    minimize_ = (form.flags & MinimizeButton) != 0;
    for (const ControlForm& f : form.controls) {
        auto c = MakeControl(f);
        c->name_ = f.name;
        c->kind_ = f.kind;
        c->window = this;
        c->form = &f;
        c->text_ = f.text;
        c->place_ = f.place;
        c->enabled_ = !(f.flags & Disabled);
        c->visible_ = !(f.flags & Hidden);
        if (*f.parent) {
            auto it = byName_.find(f.parent);
            if (it == byName_.end())
                throw std::logic_error(std::string("form ") + form.name + ": parent " + f.parent +
                                       " of " + f.name + " must come before it");
            c->parent = it->second;
        }
        if (auto* cb = dynamic_cast<HCheckBox*>(c.get())) cb->checked_ = f.flags & Checked;
        if (auto* rb = dynamic_cast<HRadioButton*>(c.get())) rb->checked_ = f.flags & Checked;
        if (auto* combo = dynamic_cast<HComboBox*>(c.get()))
            for (const FormItem& item : f.items) combo->items_.push_back({item.text, item.value});
        if (auto* e = dynamic_cast<HEdit*>(c.get())) e->maxLength_ = f.maxLength;
        if (auto* t = dynamic_cast<HTimer*>(c.get())) loop->timers.push_back(t);
        if (*f.name) {
            if (byName_.count(f.name))
                throw std::logic_error(std::string("form ") + form.name + ": two controls named " +
                                       f.name);
            byName_[f.name] = c.get();
        }
        controls.push_back(std::move(c));
    }
    loop->windows.push_back(this);
    if (!(form.flags & WindowHidden)) show();
}

Control* HWindow::find(const std::string& name) const {
    auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : it->second;
}

void HWindow::show() {
    if (destroyed_) return;
    visible_ = true;
    if (!activated_) {
        activated_ = true;
        loop->internal.push_back([this] {
            if (!destroyed_ && FirstActivated) FirstActivated();
        });
    }
}

void HWindow::setPlace(Place p) {
    Size before = clientSize();
    place_ = p;
    Size after = clientSize();
    if (!(before == after) && SizeChanged) SizeChanged(after.width, after.height);
}

void HWindow::showModal(Window* owner) {
    auto* o = dynamic_cast<HWindow*>(owner);
    if (o) ++o->disabledCount;
    modalStack().push_back(this);
    ++loop->session.modalDepth;
    loop->session.advanceTarget = -1;  // the test sees the window first
    show();
    loop->loopUntil([this] { return destroyed_ || !visible_; });
    --loop->session.modalDepth;
    auto& stack = modalStack();
    stack.erase(std::remove(stack.begin(), stack.end(), this), stack.end());
    if (o) --o->disabledCount;
}

void HWindow::close() {
    if (destroyed_) return;
    if (CloseQuery && !CloseQuery()) return;
    destroy();
}

void HWindow::destroy() {
    if (destroyed_) return;
    destroyed_ = true;
    if (Destroying) Destroying();
    visible_ = false;
    auto& ts = loop->timers;
    for (auto& c : controls)
        if (auto* t = dynamic_cast<HTimer*>(c.get()))
            ts.erase(std::remove(ts.begin(), ts.end(), t), ts.end());
    auto& ws = loop->windows;
    ws.erase(std::remove(ws.begin(), ws.end(), this), ws.end());
}

std::vector<HWindow*>& HWindow::modalStack() { return loop->modalStack; }

// ---------------------------------------------------------------------------
// The Ui service

class HeadlessUi : public Ui {
public:
    HeadlessUi(Machine& m, Session& s, EventLoop& l) : machine_(m), session_(s), loop_(l) {}

    Window& createWindow(const FormSpec& form) override {
        windows_.push_back(std::make_unique<HWindow>(loop_, form));
        return *windows_.back();
    }

    Answer messageBox(Window*, const Text& text, const Text& caption, Icon icon, Buttons buttons,
                      int defaultButton) override {
        return session_.showBox(BoxRecord{text, caption, icon, buttons, defaultButton, {}});
    }

    void sleep(int ms) override {
        if (ms > 0) machine_.nowMicros += int64_t(ms) * 1000;
    }
    void pumpFor(int ms) override { loop_.runUntil(machine_.nowMicros + int64_t(std::max(ms, 0)) * 1000); }
    void processEvents() override {
        loop_.runUntil(machine_.nowMicros);
        if (session_.onProcessEvents) session_.onProcessEvents();
    }
    void runUntilDestroyed(Window& main) override {
        loop_.loopUntil([&main] { return main.destroyed(); });
    }
    Size screenSize() const override { return machine_.screen; }
    void setVisualStyle(int style) override { style_ = style; }
    int visualStyle() const override { return style_; }

    HWindow* newest(const std::string& formName) const {
        for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
            if ((*it)->name() == formName && !(*it)->destroyed()) return it->get();
        return nullptr;
    }

private:
    Machine& machine_;
    Session& session_;
    EventLoop& loop_;
    std::list<std::unique_ptr<HWindow>> windows_;
    int style_ = 0;
};

// ---------------------------------------------------------------------------
// The event loop

bool EventLoop::nextDue(int64_t limit, int64_t& when) {
    bool found = false;
    uint64_t seq = 0;
    auto consider = [&](int64_t t, uint64_t s) {
        if (t > limit) return;
        if (!found || t < when || (t == when && s < seq)) {
            found = true;
            when = t;
            seq = s;
        }
    };
    for (HTimer* t : timers)
        if (t->period() > 0) consider(t->nextDue, t->seq);
    for (HSerialPort* p : ports) {
        if (!p->plugged()) p->rx.clear();  // what was on its way went with the device
        if (!p->rx.empty()) consider(p->rx.front().at, p->rx.front().seq);
    }
    for (auto& e : machine.worldEvents) consider(e.at, e.seq);
    return found;
}

bool EventLoop::runDueAt(int64_t now) {
    int64_t when = 0;
    if (!nextDue(now, when)) return false;
    // Find which event it is again, earliest sequence first.
    HTimer* timer = nullptr;
    HSerialPort* port = nullptr;
    size_t world = SIZE_MAX;
    uint64_t best = UINT64_MAX;
    for (HTimer* t : timers)
        if (t->period() > 0 && t->nextDue == when && t->seq < best) best = t->seq, timer = t;
    for (HSerialPort* p : ports)
        if (!p->rx.empty() && p->rx.front().at == when && p->rx.front().seq < best)
            best = p->rx.front().seq, port = p, timer = nullptr;
    for (size_t i = 0; i < machine.worldEvents.size(); ++i)
        if (machine.worldEvents[i].at == when && machine.worldEvents[i].seq < best)
            best = machine.worldEvents[i].seq, world = i, port = nullptr, timer = nullptr;
    if (world != SIZE_MAX) {
        auto fn = std::move(machine.worldEvents[world].fn);
        machine.worldEvents.erase(machine.worldEvents.begin() + world);
        fn();
    } else if (port) {
        int byte = port->rx.front().byte;
        port->rx.pop_front();
        if (port->DataArrived) port->DataArrived(byte);
    } else if (timer) {
        // Ticks missed while the thread was busy are not made up.
        timer->nextDue = machine.nowMicros + int64_t(timer->period()) * 1000;
        timer->seq = machine.nextSeq++;
        if (timer->Elapsed) timer->Elapsed();
    }
    return true;
}

bool EventLoop::dispatchOne() {
    if (!internal.empty()) {
        auto fn = std::move(internal.front());
        internal.pop_front();
        fn();
        return true;
    }
    if (session.hasPosted()) {
        std::deque<std::function<void()>> one;
        session.takePosted(one);
        for (auto& fn : one) fn();
        return true;
    }
    if (runDueAt(machine.nowMicros)) return true;
    int64_t target = session.advanceTarget;
    if (target > machine.nowMicros) {
        int64_t when = 0;
        if (nextDue(target, when)) {
            machine.nowMicros = when;
            runDueAt(when);
            return true;
        }
        machine.nowMicros = target;
    }
    session.advanceTarget = -1;
    return false;
}

void EventLoop::runUntil(int64_t target) {
    for (;;) {
        if (!internal.empty()) {
            auto fn = std::move(internal.front());
            internal.pop_front();
            fn();
            continue;
        }
        if (runDueAt(machine.nowMicros)) continue;
        int64_t when = 0;
        if (nextDue(target, when)) {
            machine.nowMicros = when;
            continue;
        }
        break;
    }
    if (machine.nowMicros < target) machine.nowMicros = target;
}

void EventLoop::fireIdle() {
    std::vector<HWindow*> ws = windows;
    for (HWindow* w : ws)
        if (!w->destroyed() && w->Idle) w->Idle();
}

void EventLoop::loopUntil(const std::function<bool()>& done) {
    while (!done()) {
        if (dispatchOne()) continue;
        fireIdle();
        if (done()) break;
        if (dispatchOne()) continue;
        session.waitForTest();
    }
}

// ---------------------------------------------------------------------------

HeadlessServices::HeadlessServices(Machine& m, Session& s)
    : loop(m, s),
      ui_(std::make_unique<HeadlessUi>(m, s, loop)),
      files_(MakeFiles(m)),
      processes_(MakeProcesses(m)),
      clock_(MakeClock(m)),
      registry_(MakeRegistry(m, *files_)),
      shell_(MakeShell(m, *files_)),
      libraries_(MakeLibraries(m)) {}

HeadlessServices::~HeadlessServices() = default;

Ui& HeadlessServices::ui() { return *ui_; }

Window* FindWindow(HeadlessServices& s, const std::string& formName) {
    return s.headlessUi().newest(formName);
}

bool WindowAcceptsInput(HeadlessServices& s, Window& w) {
    auto& hw = static_cast<HWindow&>(w);
    if (hw.destroyed() || !hw.visible() || hw.disabledCount > 0) return false;
    auto& stack = s.loop.modalStack;
    return stack.empty() || stack.back() == &hw;
}

}  // namespace headless
