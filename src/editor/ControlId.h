#pragma once

namespace tavrin {

// The editor window's controls, by the numbers the editing logic switches them with.
enum class ControlId : int {
    Ok = 1,
    Cancel = 2,
    MainItemBox = 1000,
    MoveUp = 1001,
    MoveLeft = 1002,
    MoveRight = 1003,
    MoveDown = 1004,
    SizeLarger = 1005,
    SizeSmaller = 1006,
    SizeNarrower = 1010,
    SizeWider = 1011,
    LineSpacingUp = 1012,
    LineSpacingDown = 1013,
    SaveLayoutAndTvImage = 1015,
    Exit = 1016,
    LoadNewPicture = 1018,
    TabSpacingDown = 1024,
    TabSpacingUp = 1025,
    OpenLayout = 1026,
    PricesBox = 1028,
    PricesLabel = 1029,
    SubItemsBox = 1030,
    SubItemsLabel = 1031,
    CalSpacingDown = 1033,
    CalSpacingUp = 1035,
    MainItemLabel = 1036,
    MainItemActive = 1040,
    PricesActive = 1043,
    SubItemsActive = 1044,
    SizeReadout = 1050,
    SizeTextGroup = 1054,
    LineSpacingLabel = 1063,
    TabSpacingReadout = 1066,
    TabSpacingLabel = 1078,
    MoveTextGroup = 1079,
    CalSpacingReadout = 1081,
    DeleteMenuItem = 1085,
    TabInstructions = 1101,
    DisplayVerticalGrid = 1102,
    SelectedText = 1109,
    HelpVideos = 1110,
    Undo = 1111,
    FontBox = 1115,
    DeletePicture = 1133,
    CalSpacingLabel = 1138,
    Print = 1140,
    WhitePrintFormat = 1142,
    Micro = 1179,
    Macro = 1180,
    ModeLabel = 1182,
    MenuItemTextToBeMovedGroup = 1187,
    SizeAndMoveIncrementGroup = 1189,
    AllText = 1193,
    // Controls this editor adds to the window.
    Redo = 1300,
};

// Commands of the window's menus.
enum class MenuCommand : int {
    About = 16,
    Exit = 32771,
    Open = 57601,
    SaveAs = 57603,
};

} // namespace tavrin
