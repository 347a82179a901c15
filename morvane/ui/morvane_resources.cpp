#include "ui/morvane_resources.h"

#include "corvelle/build_info.h"
#include "ui/resource_ids.h"

#include <algorithm>
#include <array>

namespace {

constexpr MenuItemDef kFileMenuNoDoc[] = {
    {ID_FILE_OPEN, "열기(&O)...\tCtrl+O"},
    {ID_FILE_MRU_FILE1, "최근 파일"},
    {ID_APP_EXIT, "종료(&X)"},
};
constexpr MenuItemDef kViewMenuNoDoc[] = {
    {ID_VIEW_TOOLBAR, "도구 모음(&T)"},
    {ID_VIEW_STATUS_BAR, "상태 표시줄(&S)"},
};
constexpr MenuItemDef kHelpMenu[] = {
    {ID_APP_ABOUT, "Morvane 정보(&A)..."},
};

constexpr MenuItemDef kFileMenu[] = {
    {ID_FILE_OPEN, "열기(&O)...\tCtrl+O"}, {ID_FILE_CLOSE, "닫기(&C)"},
    {ID_FILE_SAVE, "저장(&S)\tCtrl+S"},    {ID_FILE_SAVE_AS, "다른 이름으로 저장(&A)..."},
    {ID_FILE_MRU_FILE1, "최근 파일"},      {ID_APP_EXIT, "종료(&X)"},
};
constexpr MenuItemDef kEditMenu[] = {
    {ID_EDIT_COPY, "복사(&C)\tCtrl+C"},
    {kMenuSeparator, ""},
    {ID_TRUE_COLOR, "원본보기(&1)\t1"},
    {ID_GRAY_1786, "1768단계 그레이(&2)\t2"},
    {ID_GRAY_4336, "4336단계 그레이(&2)\t3"},
    {kMenuSeparator, ""},
    {kSubmenuBegin, "트리밍(&T)"},
    {ID_TRIM_NONE, "없음(&N)"},
    {ID_TRIM_NONE + 1, "3\" x 5\"(&1)"},
    {ID_TRIM_NONE + 2, "4\" x 6\"(&2)"},
    {ID_TRIM_NONE + 3, "5\" x 7\"(&3)"},
    {ID_TRIM_NONE + 4, "8\" x 10\"(&4)"},
    {ID_TRIM_NONE + 5, "10\" x 12\"(&5)"},
    {ID_TRIM_NONE + 6, "10\" x 14\"(&6)"},
    {kSubmenuEnd, ""},
};
constexpr MenuItemDef kToolsMenu[] = {
    {ID_TOOLS_DENOISE, "디더링 노이즈 제거(&D)"},
};
constexpr MenuItemDef kViewMenu[] = {
    {ID_VIEW_FIT_SCREEN, "화면에 채우기\tF"}, {ID_VIEW_ZOOM_30, "보기 비율 30%"},
    {ID_VIEW_ZOOM_30 + 1, "보기 비율 50%"},   {ID_VIEW_ZOOM_30 + 2, "보기 비율 80%"},
    {ID_VIEW_ZOOM_30 + 3, "보기 비율 100%"},  {ID_VIEW_ZOOM_30 + 4, "보기 비율 200%"},
    {ID_VIEW_ZOOM_30 + 5, "보기 비율 400%"},  {ID_VIEW_TOOLBAR, "도구 모음(&T)"},
    {ID_VIEW_STATUS_BAR, "상태 표시줄(&S)"},
};
constexpr MenuItemDef kWindowMenu[] = {
    {ID_WINDOW_NEXT, "다음 창(&N)"},
    {ID_WINDOW_CASCADE, "계단식(&C)"},
    {ID_WINDOW_TILE, "바둑판식(&T)"},
    {ID_WINDOW_ARRANGE, "아이콘 정렬(&A)"},
};

constexpr PopupDef kMainFrameMenu[] = {
    {"파일(&F)", kFileMenuNoDoc},
    {"보기(&V)", kViewMenuNoDoc},
    {"도움말(&H)", kHelpMenu},
};
constexpr PopupDef kDocumentMenu[] = {
    {"파일(&F)", kFileMenu}, {"편집(&E)", kEditMenu}, {"도구(&T)", kToolsMenu},
    {"보기(&V)", kViewMenu}, {"창(&W)", kWindowMenu}, {"도움말(&H)", kHelpMenu},
};

constexpr AcceleratorDef kAccelerators[] = {
    {"+", ID_VIEW_ZOOM_IN},      {"Num++", ID_VIEW_ZOOM_IN}, {"-", ID_VIEW_ZOOM_OUT},
    {"Num+-", ID_VIEW_ZOOM_OUT}, {"1", ID_TRUE_COLOR},       {"2", ID_GRAY_1786},
    {"3", ID_GRAY_4336},         {"F", ID_VIEW_FIT_SCREEN},  {"Ctrl+C", ID_EDIT_COPY},
    {"Ctrl+Ins", ID_EDIT_COPY},  {"Ctrl+O", ID_FILE_OPEN},   {"Ctrl+S", ID_FILE_SAVE},
    {"F6", ID_NEXT_PANE},        {"Shift+F6", ID_PREV_PANE},
};

constexpr int kToolbar[] = {
    ID_FILE_OPEN,    kMenuSeparator,   ID_FILE_SAVE,       IDC_COMPRESS_COMBO, IDC_TRIM_COMBO,
    kMenuSeparator,  ID_EDIT_COPY,     kMenuSeparator,     ID_TRUE_COLOR,      ID_GRAY_1786,
    ID_GRAY_4336,    kMenuSeparator,   ID_VIEW_FIT_SCREEN, IDC_ZOOM_COMBO,     kMenuSeparator,
    ID_VIEW_ZOOM_IN, ID_VIEW_ZOOM_OUT, kMenuSeparator,     ID_APP_ABOUT,
};

struct StringDef {
    int id;
    const char* text;
};

constexpr StringDef kStrings[] = {
    {IDS_OLE_INIT_FAILED,
     "OLE 초기화에 실패하였습니다. OLE 라이브러리의 버전이 올바른지 확인하십시오."},
    {IDR_MAINFRAME, "Morvane"},
    {IDR_MORVANETYPE,
     "\nMorvane\nMorvane\nJPEG 파일 (*.jpg)\n.jpg\nMorvane.Document\nMorvane Document"},
    {ID_VIEW_FIT_SCREEN, "화면 크기에 맞게 사진 크기 조정\n화면에 맞게"},
    {IDC_ZOOM_COMBO, "사진보기 비율 조정\n보기 비율"},
    {ID_VIEW_ZOOM_IN, "크게 보기\n크게 보기"},
    {ID_VIEW_ZOOM_OUT, "작게 보기\n작게 보기"},
    {IDC_COMPRESS_COMBO, "저장시 압축비율\n압축비"},
    {ID_GRAY_1786, "1786 단계 그레이\n1786 단계 그레이"},
    {ID_GRAY_4336, "4336 단계 그레이\n4336 단계 그레이"},
    {ID_TRUE_COLOR, "True Color보기\nTrue Color보기"},
    {IDC_TRIM_COMBO, "트리밍 크기\n트리밍"},
    {IDS_LOADING, "loading..."},
    {IDS_SAVING, "saving..."},
    {IDS_NOISE_REMOVING, "노이즈 제거중..."},
    {ID_FILE_OPEN, "기존 사진 파일을 엽니다\n파일 열기"},
    {ID_FILE_CLOSE, "현재 열린 문서를 닫습니다\n닫기"},
    {ID_FILE_SAVE, "현재 흑백으로 변경된 사진을 저장합니다\n흑백으로 저장"},
    {ID_FILE_SAVE_AS, "현재 열린 문서를 다른 이름으로 저장합니다\n다른 이름으로 저장"},
    {ID_EDIT_COPY, "선택한 사진을 복사하여 클립보드에 넣습니다\n복사"},
    {ID_APP_ABOUT, "프로그램 정보와 버전 정보, 저작권 정보를 표시합니다\n정보"},
    {AFX_IDS_APP_TITLE, corvelle::kMorvaneAppTitle},
    {AFX_IDS_IDLEMESSAGE, kIdleMessage},
};

}  // namespace

std::span<const PopupDef> MainFrameMenu() { return kMainFrameMenu; }
std::span<const PopupDef> DocumentMenu() { return kDocumentMenu; }
std::span<const AcceleratorDef> Accelerators() { return kAccelerators; }
std::span<const int> ToolbarLayout() { return kToolbar; }

QString LoadString(int id) {
    const auto* it = std::find_if(std::begin(kStrings), std::end(kStrings),
                                  [id](const StringDef& s) { return s.id == id; });
    return it == std::end(kStrings) ? QString() : QString::fromUtf8(it->text);
}

QString StatusPrompt(int commandId) { return LoadString(commandId).section(u'\n', 0, 0); }

QString ToolTipPrompt(int commandId) { return LoadString(commandId).section(u'\n', 1, 1); }
