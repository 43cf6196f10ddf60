// The main window without a mouse: every control in one tab chain, Enter
// presses the focused button as Space does, and the main buttons have
// shortcuts, named in their tooltips (the captions stay as they are).
#pragma once

class QWidget;

namespace mosaiko {

struct MainControls;

// Shortcuts: "…" Ctrl+O, "ｷｬﾝｾﾙ" Esc, "クリア" Ctrl+L, "生成チェック" F5,
// "帳票印刷" Ctrl+P.
void SetUpKeyboard(QWidget& window, MainControls& controls);

}  // namespace mosaiko
