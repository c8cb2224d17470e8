#pragma once

class TForm1;
class THelpForm;
class TStartDlg;
class TWinDlg;
class TResultaty;
class TSettingsDlg;

// The program's six windows. They are created once, in this order, and live until the end; each
// window finds the others through this set.
struct Screens
{
    TForm1* form1 = nullptr;
    THelpForm* helpForm = nullptr;
    TStartDlg* startDlg = nullptr;
    TWinDlg* winDlg = nullptr;
    TResultaty* resultaty = nullptr;
    TSettingsDlg* settingsDlg = nullptr;
};
