#include "layout/LayoutType.h"

namespace zentaris {

std::string_view symbolName(LayoutType layout) {
    switch (layout) {
    case LayoutType::threeColumn: return "rectangle.split.3x1";
    case LayoutType::quartet: return "rectangle.split.2x2";
    case LayoutType::splitVertical: return "rectangle.split.2x1";
    case LayoutType::splitHorizontal: return "rectangle.split.1x2";
    case LayoutType::threeWindowTop: return "rectangle.topthird.inset.filled";
    case LayoutType::threeWindowBottom: return "rectangle.bottomthird.inset.filled";
    case LayoutType::split7030: return "rectangle.leadinghalf.inset.filled";
    case LayoutType::split3070: return "rectangle.trailinghalf.inset.filled";
    case LayoutType::threeWindowLeft: return "rectangle.leftthird.inset.filled";
    case LayoutType::threeWindowRight: return "rectangle.rightthird.inset.filled";
    }
    return "rectangle.split.3x1";
}

} // namespace zentaris
