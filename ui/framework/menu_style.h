// The look of a pop-up menu, from the attributes of its layout's <Menu> element (framework only):
// "bkcolor", "bordercolor", "textcolor", "disabledtextcolor", "itemhotbkcolor",
// "itemhottextcolor" and "separatorcolor". A menu without them keeps the platform's look.
#pragma once

#include <QString>

#include "ui/framework/xml_node.h"

namespace DuiLib {

// The style sheet for the menu and its sub-menus at `scale` percent of logical pixels; empty
// without colours.
QString MenuStyleSheet(const XmlNode& menu, int scale);

}  // namespace DuiLib
