// Placeholders for the work of other parts; each is replaced when its part is built.
#include "data/pending.h"

namespace sklad {

bool KOREKTA_AS() { return true; }

void KURSY_DO_POTWIERDZENIA() {}

namespace {
void (*kas_kanty)() = nullptr;
}  // namespace

void KAS_KANTY() {
    if (kas_kanty) kas_kanty();
}

void KAS_KANTY_ROUTINE(void (*routine)()) { kas_kanty = routine; }

void HASLO_SZEFA_Z_PRAWA() {}

}  // namespace sklad
