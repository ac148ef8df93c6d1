// Identifiers of the program's own resources, commands and controls.
#pragma once

// Menu, accelerators, icon and document string of the one document template.
inline constexpr unsigned IDR_MAINFRAME = 128;

// Dialog templates.
inline constexpr unsigned IDD_ABOUTBOX = 100;
inline constexpr unsigned IDD_WAIT = 130;
inline constexpr unsigned IDD_ENTER_FUNCTION = 131;
inline constexpr unsigned IDD_ENTER_COEF = 132;
inline constexpr unsigned IDD_ENTER_TABLE = 134;
inline constexpr unsigned IDD_ENTER_POINT = 135;
inline constexpr unsigned IDD_RESULT = 136;
inline constexpr unsigned IDD_CALC_F = 137;
inline constexpr unsigned IDD_GRAPH = 138;
inline constexpr unsigned IDD_EQU_DIFF = 140;
inline constexpr unsigned IDD_SCALE = 143;

// Commands of menu 128 that are the program's own (the framework's standard ones keep its names).
inline constexpr unsigned ID_LOAD_POINTS = 200;
inline constexpr unsigned ID_SAVE_POINTS = 201;
inline constexpr unsigned ID_LOAD_COEF = 202;
inline constexpr unsigned ID_SAVE_COEF = 203;
inline constexpr unsigned ID_LOAD_APPLICATION = 204;
inline constexpr unsigned ID_SAVE_APPLICATION_AS = 205;
inline constexpr unsigned ID_EXPORT_BITMAP = 206;
inline constexpr unsigned ID_ENTER_FUNCTION = 210;
inline constexpr unsigned ID_ENTER_COEF = 211;
inline constexpr unsigned ID_ENTER_TABLE = 212;
inline constexpr unsigned ID_LEAST_SQUARES = 213;
inline constexpr unsigned ID_LEVENBERG_MARQUARDT = 214;
inline constexpr unsigned ID_GRAPH_RESULTS = 215;
inline constexpr unsigned ID_ODE_1 = 220;
inline constexpr unsigned ID_ODE_2 = 221;
inline constexpr unsigned ID_ODE_N = 222;
inline constexpr unsigned ID_CALC_FX = 230;
inline constexpr unsigned ID_CALC_DERIVATIVE = 232;
inline constexpr unsigned ID_CALC_INTEGRAL = 233;
inline constexpr unsigned ID_HELP_MANUAL = 240;
inline constexpr unsigned ID_SOLVE_BISECTION = 1024;
inline constexpr unsigned ID_SOLVE_NEWTON = 1025;
inline constexpr unsigned ID_LOAD_FUNCTION_COEF = 1027;
inline constexpr unsigned ID_SAVE_FUNCTION_COEF = 1028;
inline constexpr unsigned ID_DEFINE_SCALE = 1055;

// Status-bar indicators of the five state panes.
inline constexpr unsigned ID_INDICATOR_PTS = 1029;
inline constexpr unsigned ID_INDICATOR_FCT = 1030;
inline constexpr unsigned ID_INDICATOR_COEF = 1031;
inline constexpr unsigned ID_INDICATOR_DIST = 1032;
inline constexpr unsigned ID_INDICATOR_ECH = 1033;

// Icon of the about box and the splash.
inline constexpr unsigned IDI_KURVOMAT = 128;

// Controls of the function dialog: the formula and the message line.
inline constexpr int IDC_FUNCTION_TEXT = 1000;
inline constexpr int IDC_FUNCTION_MESSAGE = 1001;

// Controls of the coefficient dialog: values A..F, Fixe boxes A..F, the formula, names A..F, RAZ.
inline constexpr int IDC_COEF_VALUE_A = 1003;
inline constexpr int IDC_COEF_FIXED_A = 1010;
inline constexpr int IDC_COEF_FUNCTION = 1016;
inline constexpr int IDC_COEF_NAME_A = 1017;
inline constexpr int IDC_COEF_RAZ = 3;

// Controls of the point-table dialog.
inline constexpr int IDC_TABLE_SWAP_ALL = 4;
inline constexpr int IDC_TABLE_SWAP_POINT = 5;
inline constexpr int IDC_TABLE_LOG_Y = 6;
inline constexpr int IDC_TABLE_LOG_X = 7;
inline constexpr int IDC_TABLE_DELETE = 8;
inline constexpr int IDC_TABLE_INSERT = 9;
inline constexpr int IDC_TABLE_MODIFY = 10;
inline constexpr int IDC_TABLE_EXP_Y = 11;
inline constexpr int IDC_TABLE_EXP_X = 12;
inline constexpr int IDC_TABLE_CLEAR = 13;
inline constexpr int IDC_TABLE_LIST = 14;
inline constexpr int IDC_TABLE_COUNT = 1033;

// Controls of the single-point dialog.
inline constexpr int IDC_POINT_X = 1034;
inline constexpr int IDC_POINT_Y = 1035;

// Controls of the fit-result dialog: values A..F, states A..F, formula, names A..F, distance,
// title.
inline constexpr int IDC_RESULT_VALUE_A = 1036;
inline constexpr int IDC_RESULT_STATE_A = 1042;
inline constexpr int IDC_RESULT_FORMULA = 1048;
inline constexpr int IDC_RESULT_NAME_A = 1049;
inline constexpr int IDC_RESULT_DISTANCE = 1055;
inline constexpr int IDC_RESULT_TITLE = 1056;

// Controls of the graph window and the scale dialog: the frame the page or the preview is drawn
// in, the X and Y read-outs under the pointer.
inline constexpr int IDC_GRAPH_FRAME = 1061;
inline constexpr int IDC_READ_X = 1102;
inline constexpr int IDC_READ_Y = 1103;
// Controls of the scale dialog only: "Appliquer" carries the cancel id (Escape and the close box
// apply), "Sortie" the OK id.
inline constexpr int IDC_SCALE_APPLY = 2;
inline constexpr int IDC_SCALE_EXIT = 1;
inline constexpr int IDC_SCALE_GROUP = 1062;
inline constexpr int IDC_SCALE_AUTO = 1092;
inline constexpr int IDC_SCALE_X_MIN = 1093;
inline constexpr int IDC_SCALE_X_MAX = 1094;
inline constexpr int IDC_SCALE_Y_MIN = 1095;
inline constexpr int IDC_SCALE_Y_MAX = 1096;
inline constexpr int IDC_SCALE_X_MIN_LABEL = 1097;
inline constexpr int IDC_SCALE_X_MAX_LABEL = 1098;
inline constexpr int IDC_SCALE_Y_MIN_LABEL = 1099;
inline constexpr int IDC_SCALE_Y_MAX_LABEL = 1100;

// Controls of the calculation dialog: coefficient values A..F, the formula line, coefficient names
// A..F, the three inputs with their labels, the result line and the Calculer button.
inline constexpr int IDC_CALC_VALUE_A = 1036;
inline constexpr int IDC_CALC_FUNCTION = 1048;
inline constexpr int IDC_CALC_NAME_A = 1049;
inline constexpr int IDC_CALC_INPUT1 = 1055;
inline constexpr int IDC_CALC_INPUT2 = 1057;
inline constexpr int IDC_CALC_LABEL1 = 1058;
inline constexpr int IDC_CALC_LABEL2 = 1059;
inline constexpr int IDC_CALC_INPUT3 = 1060;
inline constexpr int IDC_CALC_RESULT = 1061;
inline constexpr int IDC_CALC_LABEL3 = 1062;
inline constexpr int IDC_CALC_CALCULER = 3;

// Controls of the differential-equation form. The initial values y .. y(5) run 1081 to 1086;
// the row labels y'' .. y(5) run 1088 to 1091.
inline constexpr int IDC_EQU_ORDER = 1067;
inline constexpr int IDC_EQU_EQUATION = 1068;
inline constexpr int IDC_EQU_X_START = 1069;
inline constexpr int IDC_EQU_ORDER_LABEL = 1070;
inline constexpr int IDC_EQU_EQUATION_LABEL = 1071;
inline constexpr int IDC_EQU_X_START_LABEL = 1072;
inline constexpr int IDC_EQU_X_END_LABEL = 1073;
inline constexpr int IDC_EQU_FINESSE_LABEL = 1074;
inline constexpr int IDC_EQU_POINTS_LABEL = 1075;
inline constexpr int IDC_EQU_Y0_LABEL = 1076;
inline constexpr int IDC_EQU_Y1_LABEL = 1077;
inline constexpr int IDC_EQU_X_END = 1078;
inline constexpr int IDC_EQU_FINESSE = 1079;
inline constexpr int IDC_EQU_POINTS = 1080;
inline constexpr int IDC_EQU_Y0 = 1081;
inline constexpr int IDC_EQU_HINT = 1087;
inline constexpr int IDC_EQU_Y2_LABEL = 1088;
inline constexpr int IDC_EQU_SHOWN_LABEL = 1092;
inline constexpr int IDC_EQU_SHOWN = 1093;
inline constexpr int IDC_EQU_EXPLAIN = 3;

// The splash's one timer.
inline constexpr unsigned WAIT_TIMER_ID = 1000;
inline constexpr unsigned WAIT_TIMER_MS = 3000;
