#include "common/forms.h"

#include <memory>
#include <stdexcept>
#include <vector>

#include "common/console.h"
#include "common/memvar.h"
#include "platform/console/form.h"
#include "platform/console/picture.h"

namespace sklad {

namespace {

namespace pc = platform::console;

struct FormState {
    std::unique_ptr<pc::Form> pending;  // the fields __GET adds
    Console* console = nullptr;         // the console `pending` was made for
    std::vector<pc::Form*> running;     // reads in progress; a hot key may start one inside another
};

FormState& state() {
    static FormState s;
    return s;
}

pc::Form& pending() {
    auto& st = state();
    Console& c = CONSOLE();
    if (!st.pending || st.console != &c) {
        st.pending = std::make_unique<pc::Form>(c);
        st.console = &c;
    }
    return *st.pending;
}

}  // namespace

void DEVOUTPICT(const platform::Value& v, std::string_view picture, std::string_view colour) {
    DEVOUT(std::string_view(pc::format_value(v, picture)), colour);
}

Get& __GET(int row, int col, std::string_view var, std::string_view picture, std::function<bool()> valid,
           std::function<bool()> when, std::string_view colour) {
    std::string name = pc::to_upper(var);
    if (!MEMVAR_EXISTS(name)) throw std::logic_error("entry field over a variable that does not exist: " + name);
    return __GET(
        row, col, name,
        [name] {
            const std::optional<platform::Value> v = MEMVAR_GET(name);
            return v ? *v : platform::Value{};
        },
        [name](const platform::Value& v) { MEMVAR_PUT(name, v); }, picture, std::move(valid), std::move(when), colour);
}

Get& __GET(int row, int col, std::string_view name, Get::Getter getter, Get::Setter setter, std::string_view picture,
           std::function<bool()> valid, std::function<bool()> when, std::string_view colour) {
    Get g(row, col, pc::to_upper(name), std::move(getter), std::move(setter), std::string(picture),
          colour.empty() ? SETCOLOR() : std::string(colour));
    g.valid = std::move(valid);
    g.when = std::move(when);
    return pending().add(std::move(g));
}

bool READMODAL(int start) {
    auto& st = state();
    // The read owns its fields; fields created meanwhile (by a hot key's own form) start a new list.
    auto form = std::make_unique<pc::Form>(std::move(pending()));
    st.pending = std::make_unique<pc::Form>(CONSOLE());
    st.running.push_back(form.get());
    struct Pop {
        std::vector<pc::Form*>& running;
        ~Pop() { running.pop_back(); }
    } pop{st.running};
    return form->read(start).updated;
}

bool READKILL() {
    auto& st = state();
    return !st.running.empty() && st.running.back()->killed();
}

bool READKILL(bool kill) {
    auto& st = state();
    bool before = READKILL();
    if (kill && !st.running.empty()) st.running.back()->kill();
    return before;
}

void CLEAR_GETS() {
    auto& st = state();
    if (!st.running.empty()) st.running.back()->clear();
    pending().clear();
}

std::string READVAR() {
    Get* g = GETACTIVE();
    return g ? g->name : "";
}

Get* GETACTIVE() {
    auto& st = state();
    return st.running.empty() ? nullptr : st.running.back()->active();
}

}  // namespace sklad
