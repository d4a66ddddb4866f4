#include "main_window/form1.h"

#include "resource_ids.h"
#include "win/message_filter.h"

namespace {

const ui::FontSpec kListFont{L"Arial", 9, true, 238};
const ui::FontSpec kButtonFont{L"Arial", 11.25, true, 204};

}  // namespace

Form1::Form1() {
    PushButton1.onMouseMove = [this] { PushButton1_MouseMove(); };
    onMouseMove = [this] { Background_MouseMove(); };
    Frame1.onMouseMove = [this] { Background_MouseMove(); };
    Frame3.onMouseMove = [this] { Background_MouseMove(); };
    Text2.onMouseMove = [this] { Background_MouseMove(); };
    Combo1.onClick = [this] { Combo1_Click(); };
    Combo2.onClick = [this] { Combo2_Click(); };
    Check4.onClick = [this] { Check4_Click(); };
    Check8.onClick = [this] { Check8_Click(); };
    Timer1.onTick = [this] { Timer1_Timer(); };
    PushButton1.onClick = [this] { PushButton1_Click(); };
    cSysTray1.onMouseUp = [this](std::int16_t&, std::int32_t&) { cSysTray1_MouseUp(); };
}

void Form1::create() {
    createWindow(L"Form1", kClientWidthTwips, kClientHeightTwips,
                 WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    // A copy started without elevation may ask an elevated one what it holds: it only gets a
    // number back.
    win::admitMessage(hwnd(), HolderQuestion());
    setBackColor(ui::kWhite);

    // Created in tab order, so the window order is the tab order. An "&" marks a caption's
    // Alt+letter shortcut.
    Text2.create(*this, L"Text2");
    PushButton1.setFont(kButtonFont);
    PushButton1.create(*this, L"&Help");
    Frame1.setBackColor(ui::kWhite);
    Frame1.create(*this, L"Key Options");
    Combo1.setFont(kListFont);
    Combo1.create(*this, Frame1);
    Combo1.setAccessibleName(L"Modifier keys");
    Combo2.setFont(kListFont);
    Combo2.create(*this, Frame1);
    Combo2.setAccessibleName(L"Key");
    Label1.create(*this, L"Label1");
    Label1.setLiveRegion(true);  // a screen reader reads out each new status
    Frame3.setBackColor(ui::kWhite);
    Frame3.create(*this, L"Startup Options");
    Check4.setBackColor(ui::kWhite);
    Check4.create(*this, Frame3, L"&Load this software on Windows startup");
    Check8.setBackColor(ui::kWhite);
    Check8.create(*this, Frame3, L"Start in system &tray");
    addTimer(Timer1);

    // The tray control's designed values: out of the tray, the blue 'T' at 16 x 16, no tip.
    tray::MemoryPropertyBag designed{{L"InTray", false},
                                     {L"TrayIcon", tray::Picture::loadIcon(IDI_TRAY, 16)},
                                     {L"TrayTip", std::wstring()}};
    cSysTray1.readProperties(designed);
}
