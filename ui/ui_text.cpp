#include "ui/ui_text.h"

#include "resources/strings.h"

QString uiText(int id)
{
    return utf8(loadString(id));
}
