#include "settings/garbages.h"

const PropertyTable& TGarbage::Properties() const {
    static const PropertyTable table = {
        Published("GarbageName", &TGarbage::GarbageName),
        Published("Ifclean", &TGarbage::Ifclean),
        Published("Memo", &TGarbage::Memo),
    };
    return table;
}

TGarbage& TGarbages::Add() { return items_.emplace_back(); }

void TGarbages::Delete(int i) { items_.erase(items_.begin() + i); }
