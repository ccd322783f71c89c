#include "app/main_template.h"

#include "app/main_controls.h"

#include <array>
#include <vector>

namespace app {

namespace {
namespace mc = main_controls;
using ui::ControlKind;
using ui::ControlRow;
using ui::HAlign;
using ui::Rgb;

constexpr ui::Colour kAccent = Rgb(0x0088FF);
constexpr ui::Colour kWhite = Rgb(0xFFFFFF);
constexpr ui::FontChoice kYaHei16{"微软雅黑", 16, false};
constexpr ui::FontChoice kYaHei24Bold{"微软雅黑", 24, true};
constexpr ui::FontChoice kYaHei32Bold{"微软雅黑", 32, true};
constexpr ui::FontChoice kSmall12{"", 12, false};

constexpr std::string_view kInstructions =
    "1、鼠标点击摄像头开启摄像头\r\n"
    "2、请调整摄像头和学员位置，方向键可以调整摄像头人头像位置。\r\n"
    "3、本系统集成身份证阅读器读身份证信息，\r\n"
    "4、回车键为拍照快捷键，也可以鼠标点\r\n"
    "5、图片保存为双击需要的图片，可修改图片亮度\r\n"
    "\r\n";

// A blue body with a white caption laid over it from its top-left corner.
ControlRow ButtonBody(ui::ControlId<ControlKind::ShapeBox> id, std::string_view parent, ui::Rect rect) {
    return ui::Row(id, {.parent = parent, .rect = rect, .background = kAccent, .outline = kAccent});
}
ControlRow ButtonLabel(ui::ControlId<ControlKind::TransparentLabel> id, std::string_view parent, ui::Rect rect,
                       ui::FontChoice font, std::string_view caption) {
    return ui::Row(id, {.parent = parent, .rect = rect, .text = kWhite, .font = font, .caption = caption});
}
ControlRow DrawingBoard(ui::ControlId<ControlKind::DrawingBoard> id, std::string_view accessibleName, int left) {
    return ui::Row(id, {.parent = mc::kBackground.name, .rect = {left, 135, 147, 206}, .accessibleName = accessibleName});
}

// The hidden group under a Photo slot with its darker and brighter Shape buttons.
void AddBrightnessGroup(std::vector<ControlRow>& rows, const mc::SlotIds& n, int left, int top) {
    const std::string_view group = n.brightnessGroup.name;
    rows.push_back(ui::Row(n.brightnessGroup, {.parent = mc::kBackground.name, .rect = {left, top, 160, 50}, .visible = false}));
    rows.push_back(ButtonBody(n.darker.body, group, {84, 11, 65, 32}));
    rows.push_back(ButtonLabel(n.darker.label, n.darker.body.name, {0, 0, 60, 32}, kSmall12, "减少亮度"));
    rows.push_back(ButtonBody(n.brighter.body, group, {6, 10, 65, 32}));
    rows.push_back(ButtonLabel(n.brighter.label, n.brighter.body.name, {0, 0, 60, 32}, kSmall12, "增加亮度"));
}

std::vector<ControlRow> BuildControls() {
    std::vector<ControlRow> rows;
    rows.push_back(ui::Row(mc::kBackground, {.rect = {0, 0, 1024, 650},
                    .background = kWhite, .outline = kAccent}));
    rows.push_back({.name = "外形框5", .kind = ControlKind::ShapeBox, .parent = mc::kBackground.name,
                    .rect = {312, 392, 224, 248}, .outline = kAccent});
    rows.push_back({.name = "透明标签4", .kind = ControlKind::TransparentLabel, .parent = "外形框5",
                    .rect = {7, 3, 209, 237}, .text = kAccent, .font = kYaHei16,
                    .hAlign = HAlign::Left, .vAlign = ui::VAlign::Top, .wrap = true,
                    .caption = kInstructions});
    rows.push_back(ButtonBody(mc::kReadCardBody, mc::kBackground.name, {556, 428, 208, 80}));
    rows.push_back(ButtonLabel(mc::kReadCardLabel, mc::kReadCardBody.name, {0, 0, 208, 80}, kYaHei32Bold, "读取身份证"));
    rows.push_back({.name = "外形框4", .kind = ControlKind::ShapeBox, .parent = mc::kBackground.name,
                    .rect = {400, 96, 512, 34}, .background = kAccent, .outline = kWhite});
    rows.push_back(ButtonLabel(mc::kStudentLabel, "外形框4", {5, 2, 512, 24}, kYaHei24Bold, "请读身份证"));
    rows.push_back({.name = "透明标签3", .kind = ControlKind::TransparentLabel, .parent = mc::kBackground.name,
                    .rect = {368, 8, 568, 56}, .text = kAccent, .font = {"黑体", 56, false},
                    .effect = ui::TextEffect::Raised, .caption = "Orvia"});
    rows.push_back(ui::Row(mc::kSettingsButton, {.parent = mc::kBackground.name,
                    .rect = {962, 8, 29, 29}, .accessibleName = "设置",
                    .pictures = {"SETTINGS_NORMAL", "SETTINGS_HOVER", "SETTINGS_PRESSED"}}));
    rows.push_back(ui::Row(mc::kCloseButton, {.parent = mc::kBackground.name,
                    .rect = {991, 8, 30, 30}, .accessibleName = "关闭",
                    .pictures = {"CLOSE_NORMAL", "CLOSE_HOVER", "CLOSE_PRESSED"}}));
    rows.push_back(ButtonBody(mc::kPhotoBody, mc::kBackground.name, {559, 428, 208, 80}));
    rows.push_back(ButtonLabel(mc::kPhotoLabel, mc::kPhotoBody.name, {0, 0, 208, 80}, kYaHei32Bold, "拍     照"));
    rows.push_back(DrawingBoard(mc::kSlots[3].board, "照片 4", 840));
    rows.push_back(DrawingBoard(mc::kSlots[2].board, "照片 3", 670));
    rows.push_back(DrawingBoard(mc::kSlots[1].board, "照片 2", 502));
    rows.push_back(DrawingBoard(mc::kSlots[0].board, "照片 1", 333));
    AddBrightnessGroup(rows, mc::kSlots[3], 835, 338);
    AddBrightnessGroup(rows, mc::kSlots[2], 665, 337);
    AddBrightnessGroup(rows, mc::kSlots[1], 498, 337);
    AddBrightnessGroup(rows, mc::kSlots[0], 326, 338);
    rows.push_back({.name = "分组框1", .kind = ControlKind::GroupBox, .parent = mc::kBackground.name,
                    .rect = {14, 485, 267, 163}, .background = kWhite, .text = Rgb(0x000000),
                    .hAlign = HAlign::Left, .caption = "摄像头分辨率"});
    rows.push_back({.name = "按钮2", .kind = ControlKind::PushButton, .parent = "分组框1",
                    .rect = {59, 128, 119, 32}, .caption = "保存配置", .tabStop = true});
    rows.push_back(ui::Row(mc::kCloseDevice, {.parent = "分组框1",
                    .rect = {160, 24, 82, 35}, .caption = "关闭设备", .tabStop = true}));
    rows.push_back(ui::Row(mc::kCameraList, {.parent = "分组框1",
                    .rect = {8, 16, 136, 48}, .accessibleName = "摄像头列表", .tabStop = true}));
    rows.push_back({.name = "透明标签2", .kind = ControlKind::TransparentLabel, .parent = "分组框1",
                    .rect = {47, 111, 176, 20}, .text = Rgb(0xFF0000), .hAlign = HAlign::Left,
                    .caption = " 640         800         1024"});
    rows.push_back(ui::Row(mc::kZoomSlider, {.parent = "分组框1",
                    .rect = {7, 71, 250, 41}, .accessibleName = "画面大小", .tabStop = true,
                    .slider = {.minimum = 1, .maximum = 10, .position = 3, .lineSize = 1,
                               .pageSize = 5, .ticks = true}}));
    rows.push_back({.name = "外形框2", .kind = ControlKind::ShapeBox, .parent = mc::kBackground.name,
                    .rect = {6, 44, 299, 442}, .background = kAccent, .outline = kWhite});
    rows.push_back({.name = "透明标签1", .kind = ControlKind::TransparentLabel, .parent = "外形框2",
                    .rect = {95, 2, 104, 24}, .text = kWhite, .font = kYaHei16,
                    .hAlign = HAlign::Left, .caption = "视屏照相系统"});
    rows.push_back(ui::Row(mc::kPreviewFrame, {.parent = "外形框2",
                    .rect = {2, 28, 295, 412}, .outline = kAccent, .ownWindow = true}));
    rows.push_back(ui::Row(mc::kPreviewBox, {.parent = mc::kPreviewFrame.name,
                    .rect = {-16, -16, 358, 442}, .background = Rgb(0x000000), .outline = kWhite,
                    .accessibleName = "摄像头画面", .ownWindow = true}));
    return rows;
}

constexpr std::array<ui::MenuItemRow, 6> kMenu{{
    {mc::kHelpMenu, 0},
    {mc::kHelpItem, 1},
    {mc::kContactItem, 1},
    {mc::kGuideItem, 1, /*checkable=*/true, /*checked=*/true},
    {mc::kListItem, 1},
    {mc::kImportItem, 1},
}};
}  // namespace

const ui::WindowTemplate& MainWindowTemplate() {
    static const std::vector<ControlRow> controls = BuildControls();
    static const ui::WindowTemplate layout{kMainWidth, kMainHeight, controls, kMenu};
    return layout;
}

}  // namespace app
