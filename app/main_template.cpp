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
ControlRow ButtonBody(std::string_view name, std::string_view parent, ui::Rect rect) {
    return {.name = name, .kind = ControlKind::ShapeBox, .parent = parent, .rect = rect,
            .background = kAccent, .outline = kAccent};
}
ControlRow ButtonLabel(std::string_view name, std::string_view parent, ui::Rect rect,
                        ui::FontChoice font, std::string_view caption) {
    return {.name = name, .kind = ControlKind::TransparentLabel, .parent = parent, .rect = rect,
            .text = kWhite, .font = font, .caption = caption};
}
ControlRow DrawingBoard(std::string_view name, int left) {
    return {.name = name, .kind = ControlKind::DrawingBoard, .parent = mc::kBackground.name,
            .rect = {left, 135, 147, 206}};
}

// The hidden group under a Photo slot with its darker and brighter Shape buttons.
void AddBrightnessGroup(std::vector<ControlRow>& rows, const mc::SlotIds& n, int left, int top) {
    const std::string_view group = n.brightnessGroup.name;
    rows.push_back({.name = group, .kind = ControlKind::GroupBox, .parent = mc::kBackground.name,
                    .rect = {left, top, 160, 50}, .visible = false});
    rows.push_back(ButtonBody(n.darker.body.name, group, {84, 11, 65, 32}));
    rows.push_back(ButtonLabel(n.darker.label.name, n.darker.body.name, {0, 0, 60, 32}, kSmall12, "减少亮度"));
    rows.push_back(ButtonBody(n.brighter.body.name, group, {6, 10, 65, 32}));
    rows.push_back(ButtonLabel(n.brighter.label.name, n.brighter.body.name, {0, 0, 60, 32}, kSmall12, "增加亮度"));
}

std::vector<ControlRow> BuildControls() {
    std::vector<ControlRow> rows;
    rows.push_back({.name = mc::kBackground.name, .kind = ControlKind::ShapeBox, .rect = {0, 0, 1024, 650},
                    .background = kWhite, .outline = kAccent});
    rows.push_back({.name = "外形框5", .kind = ControlKind::ShapeBox, .parent = mc::kBackground.name,
                    .rect = {312, 392, 224, 248}, .outline = kAccent});
    rows.push_back({.name = "透明标签4", .kind = ControlKind::TransparentLabel, .parent = "外形框5",
                    .rect = {7, 3, 209, 237}, .text = kAccent, .font = kYaHei16,
                    .hAlign = HAlign::Left, .vAlign = ui::VAlign::Top, .wrap = true,
                    .caption = kInstructions});
    rows.push_back(ButtonBody(mc::kReadCardBody.name, mc::kBackground.name, {556, 428, 208, 80}));
    rows.push_back(ButtonLabel(mc::kReadCardLabel.name, mc::kReadCardBody.name, {0, 0, 208, 80}, kYaHei32Bold, "读取身份证"));
    rows.push_back({.name = "外形框4", .kind = ControlKind::ShapeBox, .parent = mc::kBackground.name,
                    .rect = {400, 96, 512, 34}, .background = kAccent, .outline = kWhite});
    rows.push_back(ButtonLabel(mc::kStudentLabel.name, "外形框4", {5, 2, 512, 24}, kYaHei24Bold, "请读身份证"));
    rows.push_back({.name = "透明标签3", .kind = ControlKind::TransparentLabel, .parent = mc::kBackground.name,
                    .rect = {368, 8, 568, 56}, .text = kAccent, .font = {"黑体", 56, false},
                    .effect = ui::TextEffect::Raised, .caption = "Orvia"});
    rows.push_back({.name = mc::kSettingsButton.name, .kind = ControlKind::GraphicButton, .parent = mc::kBackground.name,
                    .rect = {962, 8, 29, 29},
                    .pictures = {"SETTINGS_NORMAL", "SETTINGS_HOVER", "SETTINGS_PRESSED"}});
    rows.push_back({.name = mc::kCloseButton.name, .kind = ControlKind::GraphicButton, .parent = mc::kBackground.name,
                    .rect = {991, 8, 30, 30},
                    .pictures = {"CLOSE_NORMAL", "CLOSE_HOVER", "CLOSE_PRESSED"}});
    rows.push_back(ButtonBody(mc::kPhotoBody.name, mc::kBackground.name, {559, 428, 208, 80}));
    rows.push_back(ButtonLabel(mc::kPhotoLabel.name, mc::kPhotoBody.name, {0, 0, 208, 80}, kYaHei32Bold, "拍     照"));
    rows.push_back(DrawingBoard(mc::kSlots[3].board.name, 840));
    rows.push_back(DrawingBoard(mc::kSlots[2].board.name, 670));
    rows.push_back(DrawingBoard(mc::kSlots[1].board.name, 502));
    rows.push_back(DrawingBoard(mc::kSlots[0].board.name, 333));
    AddBrightnessGroup(rows, mc::kSlots[3], 835, 338);
    AddBrightnessGroup(rows, mc::kSlots[2], 665, 337);
    AddBrightnessGroup(rows, mc::kSlots[1], 498, 337);
    AddBrightnessGroup(rows, mc::kSlots[0], 326, 338);
    rows.push_back({.name = "分组框1", .kind = ControlKind::GroupBox, .parent = mc::kBackground.name,
                    .rect = {14, 485, 267, 163}, .background = kWhite, .text = Rgb(0x000000),
                    .hAlign = HAlign::Left, .caption = "摄像头分辨率"});
    rows.push_back({.name = "按钮2", .kind = ControlKind::PushButton, .parent = "分组框1",
                    .rect = {59, 128, 119, 32}, .caption = "保存配置", .tabStop = true});
    rows.push_back({.name = mc::kCloseDevice.name, .kind = ControlKind::PushButton, .parent = "分组框1",
                    .rect = {160, 24, 82, 35}, .caption = "关闭设备", .tabStop = true});
    rows.push_back({.name = mc::kCameraList.name, .kind = ControlKind::ListBox, .parent = "分组框1",
                    .rect = {8, 16, 136, 48}, .tabStop = true});
    rows.push_back({.name = "透明标签2", .kind = ControlKind::TransparentLabel, .parent = "分组框1",
                    .rect = {47, 111, 176, 20}, .text = Rgb(0xFF0000), .hAlign = HAlign::Left,
                    .caption = " 640         800         1024"});
    rows.push_back({.name = mc::kZoomSlider.name, .kind = ControlKind::Slider, .parent = "分组框1",
                    .rect = {7, 71, 250, 41}, .tabStop = true,
                    .slider = {.minimum = 1, .maximum = 10, .position = 3, .lineSize = 1,
                               .pageSize = 5, .ticks = true}});
    rows.push_back({.name = "外形框2", .kind = ControlKind::ShapeBox, .parent = mc::kBackground.name,
                    .rect = {6, 44, 299, 442}, .background = kAccent, .outline = kWhite});
    rows.push_back({.name = "透明标签1", .kind = ControlKind::TransparentLabel, .parent = "外形框2",
                    .rect = {95, 2, 104, 24}, .text = kWhite, .font = kYaHei16,
                    .hAlign = HAlign::Left, .caption = "视屏照相系统"});
    rows.push_back({.name = mc::kPreviewFrame.name, .kind = ControlKind::ShapeBox, .parent = "外形框2",
                    .rect = {2, 28, 295, 412}, .outline = kAccent, .ownWindow = true});
    rows.push_back({.name = mc::kPreviewBox.name, .kind = ControlKind::ShapeBox, .parent = mc::kPreviewFrame.name,
                    .rect = {-16, -16, 358, 442}, .background = Rgb(0x000000), .outline = kWhite,
                    .ownWindow = true});
    return rows;
}

constexpr std::array<ui::MenuItemRow, 4> kMenu{{
    {mc::kHelpMenu, 0},
    {mc::kHelpItem, 1},
    {mc::kContactItem, 1},
    {mc::kGuideItem, 1, /*checkable=*/true, /*checked=*/true},
}};
}  // namespace

const ui::WindowTemplate& MainWindowTemplate() {
    static const std::vector<ControlRow> controls = BuildControls();
    static const ui::WindowTemplate layout{kMainWidth, kMainHeight, controls, kMenu};
    return layout;
}

}  // namespace app
