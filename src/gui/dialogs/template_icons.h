#pragma once

#include <QIcon>

namespace faultscope {

// The pictures of the template list's tool strip, drawn by the program itself.
enum class TemplateListIcon { Add, Delete, Apply };

QIcon MakeTemplateListIcon(TemplateListIcon icon);

}  // namespace faultscope
