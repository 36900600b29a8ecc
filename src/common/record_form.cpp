#include "common/record_form.h"

#include <map>

#include "common/colours.h"
#include "common/console.h"
#include "common/forms.h"
#include "common/help.h"
#include "common/memvar.h"
#include "data/access.h"
#include "data/engine.h"

namespace sklad {

namespace {

// What FORM_READ put into the variables, per table: the record and the values shown.
struct Shown {
    long recno = 0;
    std::map<std::string, Value> values;  // by field name
};

std::map<std::string, Shown>& shown() {
    static std::map<std::string, Shown> s;
    return s;
}

std::string var(const std::string& field) { return "M_" + field; }

// The fields of the selected table among `fields`, with their definitions.
std::vector<FieldDef> present(const std::vector<std::string>& fields) {
    std::vector<FieldDef> out;
    const std::vector<FieldDef> all = DBSTRUCT();
    for (const std::string& f : fields) {
        const int pos = FIELDPOS(f);
        if (pos > 0) out.push_back(all[static_cast<std::size_t>(pos - 1)]);
    }
    return out;
}

Value blank(const FieldDef& d) {
    switch (d.type) {
        case FieldType::Character: return std::string(static_cast<std::size_t>(d.width), ' ');
        case FieldType::Numeric: return Decimal(0);
        case FieldType::Date: return Date();
        case FieldType::Logical: return false;
    }
    return Value();
}

void fill(const std::vector<std::string>& fields, bool from_record) {
    Shown& s = shown()[ALIAS()];
    s.recno = from_record ? RECNO() : 0;
    s.values.clear();
    for (const FieldDef& d : present(fields)) {
        MEMVAR_NEW(var(d.name), from_record ? FIELDGET(d.name) : blank(d));
        if (const std::optional<Value> v = MEMVAR_GET(var(d.name))) s.values[d.name] = *v;
    }
}

// Runs the form routines with `colour` as the current colour, then restores it.
void draw(const std::vector<FormRoutine>& routines, std::string_view colour) {
    const std::string before = SETCOLOR(colour);
    for (const FormRoutine& r : routines) r(colour);
    SETCOLOR(before);
}

}  // namespace

void FORM_NEW(const std::vector<std::string>& fields) {
    for (const FieldDef& d : present(fields)) MEMVAR_NEW(var(d.name), blank(d));
}

void FORM_RELEASE(const std::vector<std::string>& fields) {
    for (const std::string& f : fields) MEMVAR_RELEASE(var(f));
}

void FORM_READ(const std::vector<std::string>& fields) { fill(fields, true); }

void FORM_BLANK(const std::vector<std::string>& fields) { fill(fields, false); }

bool FORM_WRITE(const std::vector<std::string>& fields, double seconds) {
    if (!REC_LOCK(seconds)) return false;  // the lock reads the record again from the table
    Shown& s = shown()[ALIAS()];
    const bool same_record = s.recno == RECNO();
    for (const FieldDef& d : present(fields)) {
        const std::optional<Value> now = MEMVAR_GET(var(d.name));
        if (!now) continue;
        auto was = s.values.find(d.name);
        if (same_record && was != s.values.end() && was->second == *now) continue;  // not the operator's change
        FIELDPUT(d.name, *now);
        s.values[d.name] = *now;
    }
    s.recno = RECNO();
    DBCOMMIT();
    DBUNLOCK();
    return true;
}

void FORM_SHOW(const std::vector<FormRoutine>& routines) {
    CLEAR_GETS();
    draw(routines, COLOUR_FORM_SHOW);
    CLEAR_GETS();
}

namespace {

// Reads the fields the routines create in `colour`; F1 opens the field's help and the cursor
// shows during the read, and both are given back however it ends.
bool read_form(const std::vector<FormRoutine>& routines, std::string_view colour) {
    CLEAR_GETS();
    draw(routines, colour);
    struct ReadSettings {
        HotKeyRoutine f1;
        std::string colour;
        ~ReadSettings() {
            SETCOLOR(colour);
            SETCURSOR(SC_NONE);
            SETKEY(K_F1, f1);
        }
    } settings{SETKEY(K_F1, HELP), SETCOLOR(colour)};
    SETCURSOR(SC_NORMAL);
    return READMODAL();
}

}  // namespace

bool FORM_EDIT(const std::vector<FormRoutine>& routines) { return read_form(routines, COLOUR_FORM_EDIT); }

bool FORM_BOX(int top, int left, int bottom, int right, const std::vector<FormRoutine>& routines) {
    const ScreenImage screen = SAVESCREEN();
    const std::string before = SETCOLOR("");
    SCROLL(top, left, bottom, right);
    DISPBOX(top, left, bottom, right, 1, COLOUR_POPUP_FRAME);
    read_form(routines, "");
    RESTSCREEN(screen);
    SETCOLOR(before);
    return LASTKEY() != K_ESC;
}

}  // namespace sklad
