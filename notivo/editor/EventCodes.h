#pragma once

namespace notivo {

// Mouse buttons and keys as the handlers receive them: 1 left, 2 right,
// 4 middle (added up for a move with several held); 1 Shift, 2 Ctrl, 4 Alt.
int buttonCode(int qtButtons);
int shiftCode(int qtModifiers);

} // namespace notivo
