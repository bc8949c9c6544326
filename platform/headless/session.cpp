#include "headless/session.h"

#include <stdexcept>
#include <utility>

#include "headless/controls.h"
#include "internal.h"

namespace headless {

using namespace platform;

namespace {
struct ProgramAbort {};
}  // namespace

Session::Session(Machine& machine)
    : machine_(machine), services_(std::make_unique<HeadlessServices>(machine, *this)) {}

Session::~Session() {
    if (thread_.joinable()) {
        {
            std::lock_guard<std::mutex> lk(mutex_);
            aborting_ = true;
            programTurn_ = true;
        }
        turnChanged_.notify_all();
        thread_.join();
    }
    services_.reset();
}

Services& Session::services() { return *services_; }

void Session::start(std::function<int(Services&)> programMain) {
    if (thread_.joinable()) throw std::logic_error("the program was started already");
    thread_ = std::thread([this, programMain] { programThread(programMain); });
    std::unique_lock<std::mutex> lk(mutex_);
    programTurn_ = true;
    turnChanged_.notify_all();
    turnChanged_.wait(lk, [this] { return !programTurn_ || finished_; });
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

void Session::programThread(std::function<int(Services&)> programMain) {
    {
        std::unique_lock<std::mutex> lk(mutex_);
        turnChanged_.wait(lk, [this] { return programTurn_; });
    }
    try {
        if (!aborting_) exitCode_ = programMain(*services_);
    } catch (const ProgramExit& e) {
        exitCode_ = e.code;
    } catch (const ProgramAbort&) {
    } catch (...) {
        failure_ = std::current_exception();
    }
    std::lock_guard<std::mutex> lk(mutex_);
    finished_ = true;
    programTurn_ = false;
    turnChanged_.notify_all();
}

bool Session::running() const {
    std::lock_guard<std::mutex> lk(mutex_);
    return thread_.joinable() && !finished_;
}

void Session::waitForTest() {
    std::unique_lock<std::mutex> lk(mutex_);
    programTurn_ = false;
    turnChanged_.notify_all();
    turnChanged_.wait(lk, [this] { return programTurn_; });
    if (aborting_) throw ProgramAbort{};
}

void Session::takePosted(std::deque<std::function<void()>>& into) {
    std::lock_guard<std::mutex> lk(mutex_);
    if (!posted_.empty()) {
        into.push_back(std::move(posted_.front()));
        posted_.pop_front();
    }
}

void Session::runOnProgram(std::function<void()> fn) {
    std::unique_lock<std::mutex> lk(mutex_);
    if (!thread_.joinable() || finished_) throw std::logic_error("the program is not running");
    posted_.push_back(std::move(fn));
    programTurn_ = true;
    turnChanged_.notify_all();
    turnChanged_.wait(lk, [this] { return !programTurn_ || finished_; });
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

Window* Session::window(const std::string& formName) const {
    return FindWindow(*services_, formName);
}

Window& Session::mustWindow(const std::string& formName) const {
    Window* w = window(formName);
    if (!w) throw std::logic_error("no window " + formName + " is open");
    return *w;
}

void Session::checkUsable(const std::string& formName, const std::string& control) const {
    if (const BoxRecord* box = openBox())
        throw std::logic_error("a message box is open: " + box->text);
    Window& w = mustWindow(formName);
    if (!WindowAcceptsInput(*services_, w))
        throw std::logic_error("window " + formName + " does not take input now");
    if (control.empty()) return;
    auto* c = dynamic_cast<HControl*>(w.find(control));
    if (!c) throw std::logic_error(formName + " has no control " + control);
    if (!c->shown()) throw std::logic_error(control + " is not visible");
    if (!c->usable()) throw std::logic_error(control + " is disabled");
}

void Session::click(const std::string& formName, const std::string& control) {
    checkUsable(formName, control);
    Control* c = mustWindow(formName).find(control);
    runOnProgram([c] {
        if (auto* b = dynamic_cast<Button*>(c)) {
            if (b->Clicked) b->Clicked();
        } else if (auto* cb = dynamic_cast<CheckBox*>(c)) {
            cb->setChecked(!cb->checked());
            if (cb->Clicked) cb->Clicked();
        } else if (auto* rb = dynamic_cast<RadioButton*>(c)) {
            rb->setChecked(true);
            if (rb->Clicked) rb->Clicked();
        }
    });
}

void Session::pick(const std::string& formName, const std::string& combo, int index,
                   bool dropDown) {
    checkUsable(formName, combo);
    auto& c = control<ComboBox>(formName, combo);
    std::string error;
    runOnProgram([&c, index, dropDown, &error] {
        if (dropDown && c.DroppingDown) c.DroppingDown();
        if (index < 0 || index >= c.count()) {
            error = "no entry " + std::to_string(index) + " to pick in " + c.name();
        } else {
            c.select(index);
            if (c.Picked) c.Picked();
        }
        if (dropDown && c.ClosedUp) c.ClosedUp();
    });
    if (!error.empty()) throw std::logic_error(error);
}

void Session::dropDown(const std::string& formName, const std::string& combo) {
    checkUsable(formName, combo);
    auto& c = control<ComboBox>(formName, combo);
    runOnProgram([&c] {
        if (c.DroppingDown) c.DroppingDown();
        if (c.ClosedUp) c.ClosedUp();
    });
}

namespace {
bool TypeKey(Edit& e, const std::string& ch) {
    int key = static_cast<unsigned char>(ch[0]);
    if (ch.size() == 1 && e.KeyPressed && e.KeyPressed(key)) return false;
    auto* he = dynamic_cast<HEdit*>(&e);
    uint32_t flags = he && he->form ? he->form->flags : 0;
    if (ch.size() == 1 && key < 32) return false;  // control keys type nothing
    if ((flags & DecimalInput) && !(ch.size() == 1 && ((key >= '0' && key <= '9') || key == '.' || key == '-')))
        return false;
    if (e.maxLength() > 0 && e.text().size() + ch.size() > static_cast<size_t>(e.maxLength()))
        return false;
    e.setText(e.text() + ch);
    if (e.Changed) e.Changed();
    return true;
}
}  // namespace

void Session::type(const std::string& formName, const std::string& edit, const Text& text) {
    checkUsable(formName, edit);
    auto& e = control<Edit>(formName, edit);
    runOnProgram([&e, text] {
        std::vector<size_t> s = CharacterStarts(text);
        for (size_t i = 0; i + 1 < s.size(); ++i) TypeKey(e, text.substr(s[i], s[i + 1] - s[i]));
    });
}

void Session::pressKey(const std::string& formName, const std::string& edit, int key) {
    checkUsable(formName, edit);
    auto& e = control<Edit>(formName, edit);
    runOnProgram([&e, key] { TypeKey(e, std::string(1, static_cast<char>(key))); });
}

void Session::paste(const std::string& formName, const std::string& edit, const Text& text) {
    checkUsable(formName, edit);
    auto& e = control<Edit>(formName, edit);
    runOnProgram([&e, text] {
        e.setText(text);
        if (e.Changed) e.Changed();
    });
}

void Session::closeWindow(const std::string& formName) {
    checkUsable(formName, "");
    Window& w = mustWindow(formName);
    runOnProgram([&w] { w.close(); });
}

void Session::advance(int milliseconds) {
    runOnProgram([this, milliseconds] {
        advanceTarget = machine_.nowMicros + int64_t(milliseconds) * 1000;
    });
}

void Session::onProgramThread(std::function<void()> fn) { runOnProgram(std::move(fn)); }

const BoxRecord* Session::openBox() const {
    if (boxDepth_ == 0) return nullptr;
    for (auto it = boxes_.rbegin(); it != boxes_.rend(); ++it)
        if (!it->answer) return &*it;
    return nullptr;
}

void Session::answer(Answer a) {
    const BoxRecord* open = openBox();
    if (!open) throw std::logic_error("no message box is open");
    const BoxRecord& box = *open;
    size_t index = static_cast<size_t>(open - boxes_.data());
    bool fits = box.buttons == Buttons::Ok ? a == Answer::Ok
                : box.buttons == Buttons::OkCancel ? (a == Answer::Ok || a == Answer::Cancel)
                                                   : (a == Answer::Yes || a == Answer::No);
    if (!fits) throw std::logic_error("that box has no such button: " + box.text);
    runOnProgram([this, a, index] { boxes_[index].answer = a; });
}

Answer Session::showBox(BoxRecord box) {
    boxes_.push_back(std::move(box));
    size_t index = boxes_.size() - 1;
    if (!queued_.empty()) {
        boxes_[index].answer = queued_.front();
        queued_.pop_front();
        return *boxes_[index].answer;
    }
    ++boxDepth_;
    advanceTarget = -1;  // time stops at the box until the test looks at it
    services_->loop.loopUntil([this, index] { return boxes_[index].answer.has_value(); });
    --boxDepth_;
    return *boxes_[index].answer;
}

}  // namespace headless
