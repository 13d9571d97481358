#include "ui/ui_text.h"

#include "resources/strings.h"

QString uiText(int id) { return latin1(loadString(id)); }
