#pragma once
// Class, part and state numbers of the theme engine, with the values the Win32 headers give them,
// so that code written against the themed-drawing interface reads one-to-one.

namespace kestrel::platform {

// BUTTON
constexpr int BP_PUSHBUTTON = 1;
constexpr int BP_RADIOBUTTON = 2;
constexpr int BP_CHECKBOX = 3;
constexpr int BP_GROUPBOX = 4;
constexpr int BP_USERBUTTON = 5;
constexpr int BP_COMMANDLINK = 6;
constexpr int BP_COMMANDLINKGLYPH = 7;

constexpr int PBS_NORMAL = 1;
constexpr int PBS_HOT = 2;
constexpr int PBS_PRESSED = 3;
constexpr int PBS_DISABLED = 4;
constexpr int PBS_DEFAULTED = 5;
constexpr int PBS_DEFAULTED_ANIMATING = 6;

constexpr int RBS_UNCHECKEDNORMAL = 1;
constexpr int RBS_UNCHECKEDHOT = 2;
constexpr int RBS_UNCHECKEDPRESSED = 3;
constexpr int RBS_UNCHECKEDDISABLED = 4;
constexpr int RBS_CHECKEDNORMAL = 5;
constexpr int RBS_CHECKEDHOT = 6;
constexpr int RBS_CHECKEDPRESSED = 7;
constexpr int RBS_CHECKEDDISABLED = 8;

constexpr int CBS_UNCHECKEDNORMAL = 1;
constexpr int CBS_UNCHECKEDHOT = 2;
constexpr int CBS_UNCHECKEDPRESSED = 3;
constexpr int CBS_UNCHECKEDDISABLED = 4;
constexpr int CBS_CHECKEDNORMAL = 5;
constexpr int CBS_CHECKEDHOT = 6;
constexpr int CBS_CHECKEDPRESSED = 7;
constexpr int CBS_CHECKEDDISABLED = 8;
constexpr int CBS_MIXEDNORMAL = 9;
constexpr int CBS_MIXEDHOT = 10;
constexpr int CBS_MIXEDPRESSED = 11;
constexpr int CBS_MIXEDDISABLED = 12;

constexpr int GBS_NORMAL = 1;
constexpr int GBS_DISABLED = 2;

// EDIT
constexpr int EP_EDITTEXT = 1;
constexpr int EP_CARET = 2;
constexpr int EP_BACKGROUND = 3;
constexpr int EP_PASSWORD = 4;
constexpr int EP_BACKGROUNDWITHBORDER = 5;
constexpr int EP_EDITBORDER_NOSCROLL = 6;
constexpr int EP_EDITBORDER_HSCROLL = 7;
constexpr int EP_EDITBORDER_VSCROLL = 8;
constexpr int EP_EDITBORDER_HVSCROLL = 9;

constexpr int ETS_NORMAL = 1;
constexpr int ETS_HOT = 2;
constexpr int ETS_SELECTED = 3;
constexpr int ETS_DISABLED = 4;
constexpr int ETS_FOCUSED = 5;
constexpr int ETS_READONLY = 6;
constexpr int ETS_ASSIST = 7;
constexpr int ETS_CUEBANNER = 8;

// The border parts share these state numbers (EPSN_, EPSH_, EPSV_, EPSHV_ in Win32).
constexpr int EPSN_NORMAL = 1;
constexpr int EPSN_HOT = 2;
constexpr int EPSN_FOCUSED = 3;
constexpr int EPSN_DISABLED = 4;
constexpr int EPSV_NORMAL = 1;
constexpr int EPSV_HOT = 2;
constexpr int EPSV_FOCUSED = 3;
constexpr int EPSV_DISABLED = 4;

// SCROLLBAR
constexpr int SBP_ARROWBTN = 1;
constexpr int SBP_THUMBBTNHORZ = 2;
constexpr int SBP_THUMBBTNVERT = 3;
constexpr int SBP_LOWERTRACKHORZ = 4;
constexpr int SBP_UPPERTRACKHORZ = 5;
constexpr int SBP_LOWERTRACKVERT = 6;
constexpr int SBP_UPPERTRACKVERT = 7;
constexpr int SBP_GRIPPERHORZ = 8;
constexpr int SBP_GRIPPERVERT = 9;
constexpr int SBP_SIZEBOX = 10;

constexpr int ABS_UPNORMAL = 1;
constexpr int ABS_UPHOT = 2;
constexpr int ABS_UPPRESSED = 3;
constexpr int ABS_UPDISABLED = 4;
constexpr int ABS_DOWNNORMAL = 5;
constexpr int ABS_DOWNHOT = 6;
constexpr int ABS_DOWNPRESSED = 7;
constexpr int ABS_DOWNDISABLED = 8;
constexpr int ABS_LEFTNORMAL = 9;
constexpr int ABS_LEFTHOT = 10;
constexpr int ABS_LEFTPRESSED = 11;
constexpr int ABS_LEFTDISABLED = 12;
constexpr int ABS_RIGHTNORMAL = 13;
constexpr int ABS_RIGHTHOT = 14;
constexpr int ABS_RIGHTPRESSED = 15;
constexpr int ABS_RIGHTDISABLED = 16;
constexpr int ABS_UPHOVER = 17;
constexpr int ABS_DOWNHOVER = 18;
constexpr int ABS_LEFTHOVER = 19;
constexpr int ABS_RIGHTHOVER = 20;

constexpr int SCRBS_NORMAL = 1;
constexpr int SCRBS_HOT = 2;
constexpr int SCRBS_PRESSED = 3;
constexpr int SCRBS_DISABLED = 4;
constexpr int SCRBS_HOVER = 5;

constexpr int SZB_RIGHTALIGN = 1;
constexpr int SZB_LEFTALIGN = 2;

// WINDOW
constexpr int WP_CAPTION = 1;
constexpr int WP_SMALLCAPTION = 2;
constexpr int WP_MINCAPTION = 3;
constexpr int WP_SMALLMINCAPTION = 4;
constexpr int WP_MAXCAPTION = 5;
constexpr int WP_SMALLMAXCAPTION = 6;
constexpr int WP_FRAMELEFT = 7;
constexpr int WP_FRAMERIGHT = 8;
constexpr int WP_FRAMEBOTTOM = 9;
constexpr int WP_SMALLFRAMELEFT = 10;
constexpr int WP_SMALLFRAMERIGHT = 11;
constexpr int WP_SMALLFRAMEBOTTOM = 12;
constexpr int WP_SYSBUTTON = 13;
constexpr int WP_MDISYSBUTTON = 14;
constexpr int WP_MINBUTTON = 15;
constexpr int WP_MDIMINBUTTON = 16;
constexpr int WP_MAXBUTTON = 17;
constexpr int WP_CLOSEBUTTON = 18;
constexpr int WP_SMALLCLOSEBUTTON = 19;
constexpr int WP_MDICLOSEBUTTON = 20;
constexpr int WP_RESTOREBUTTON = 21;
constexpr int WP_MDIRESTOREBUTTON = 22;
constexpr int WP_HELPBUTTON = 23;
constexpr int WP_MDIHELPBUTTON = 24;
constexpr int WP_HORZSCROLL = 25;
constexpr int WP_HORZTHUMB = 26;
constexpr int WP_VERTSCROLL = 27;
constexpr int WP_VERTTHUMB = 28;
constexpr int WP_DIALOG = 29;

constexpr int FS_ACTIVE = 1;
constexpr int FS_INACTIVE = 2;
constexpr int CS_ACTIVE = 1;
constexpr int CS_INACTIVE = 2;
constexpr int CS_DISABLED = 3;
// The caption buttons share these state numbers (MINBS_, MAXBS_, RBS_, HBS_, CBS_ in Win32).
constexpr int MINBS_NORMAL = 1;
constexpr int MINBS_HOT = 2;
constexpr int MINBS_PUSHED = 3;
constexpr int MINBS_DISABLED = 4;
constexpr int MAXBS_NORMAL = 1;
constexpr int MAXBS_HOT = 2;
constexpr int MAXBS_PUSHED = 3;
constexpr int MAXBS_DISABLED = 4;
constexpr int CBS_NORMAL = 1;
constexpr int CBS_HOT = 2;
constexpr int CBS_PUSHED = 3;
constexpr int CBS_DISABLED = 4;

// TOOLBAR
constexpr int TP_BUTTON = 1;
constexpr int TP_DROPDOWNBUTTON = 2;
constexpr int TP_SPLITBUTTON = 3;
constexpr int TP_SPLITBUTTONDROPDOWN = 4;
constexpr int TP_SEPARATOR = 5;
constexpr int TP_SEPARATORVERT = 6;

constexpr int TS_NORMAL = 1;
constexpr int TS_HOT = 2;
constexpr int TS_PRESSED = 3;
constexpr int TS_DISABLED = 4;
constexpr int TS_CHECKED = 5;
constexpr int TS_HOTCHECKED = 6;

// STATUS
constexpr int SP_PANE = 1;
constexpr int SP_GRIPPERPANE = 2;
constexpr int SP_GRIPPER = 3;

// TOOLTIP
constexpr int TTP_STANDARD = 1;
constexpr int TTP_STANDARDTITLE = 2;
constexpr int TTP_BALLOON = 3;
constexpr int TTP_BALLOONTITLE = 4;
constexpr int TTP_CLOSE = 5;

constexpr int TTSS_NORMAL = 1;
constexpr int TTSS_LINK = 2;

// PROGRESS
constexpr int PP_BAR = 1;
constexpr int PP_BARVERT = 2;
constexpr int PP_CHUNK = 3;
constexpr int PP_CHUNKVERT = 4;
constexpr int PP_FILL = 5;
constexpr int PP_FILLVERT = 6;

constexpr int PBFS_NORMAL = 1;
constexpr int PBFS_ERROR = 2;
constexpr int PBFS_PAUSED = 3;
constexpr int PBFS_PARTIAL = 4;

// Theme properties (TMT_*) the engine answers.
constexpr int TMT_FONT = 210;
constexpr int TMT_CAPTIONFONT = 801;
constexpr int TMT_SMALLCAPTIONFONT = 802;
constexpr int TMT_MENUFONT = 803;
constexpr int TMT_STATUSFONT = 804;
constexpr int TMT_MSGBOXFONT = 805;
constexpr int TMT_ICONTITLEFONT = 806;

constexpr int TMT_SIZINGBORDERWIDTH = 1201;
constexpr int TMT_SCROLLBARWIDTH = 1202;
constexpr int TMT_SCROLLBARHEIGHT = 1203;
constexpr int TMT_CAPTIONBARWIDTH = 1204;
constexpr int TMT_CAPTIONBARHEIGHT = 1205;
constexpr int TMT_SMCAPTIONBARWIDTH = 1206;
constexpr int TMT_SMCAPTIONBARHEIGHT = 1207;
constexpr int TMT_MENUBARWIDTH = 1208;
constexpr int TMT_MENUBARHEIGHT = 1209;

constexpr int TMT_BORDERCOLOR = 3801;
constexpr int TMT_FILLCOLOR = 3802;
constexpr int TMT_TEXTCOLOR = 3803;
constexpr int TMT_EDGELIGHTCOLOR = 3804;
constexpr int TMT_EDGEHIGHLIGHTCOLOR = 3805;
constexpr int TMT_EDGESHADOWCOLOR = 3806;
constexpr int TMT_EDGEDKSHADOWCOLOR = 3807;
constexpr int TMT_EDGEFILLCOLOR = 3808;
constexpr int TMT_GLYPHTEXTCOLOR = 3819;
constexpr int TMT_ACCENTCOLORHINT = 3823;

}  // namespace kestrel::platform
