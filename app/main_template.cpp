#include "app/main_template.h"

#include "reader/reader.h"

#include <array>
#include <vector>

namespace app {

namespace {
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
    "3、本系统集成华视高拍仪读身份证信息，\r\n"
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
    return {.name = name, .kind = ControlKind::DrawingBoard, .parent = "外形框1",
            .rect = {left, 135, 147, 206}};
}

struct BrightnessNames {
    std::string_view group, darkerBody, darkerLabel, brighterBody, brighterLabel;
};

// The hidden group under a Photo slot with its darker and brighter Shape buttons.
void AddBrightnessGroup(std::vector<ControlRow>& rows, const BrightnessNames& n, int left, int top) {
    rows.push_back({.name = n.group, .kind = ControlKind::GroupBox, .parent = "外形框1",
                    .rect = {left, top, 160, 50}, .visible = false});
    rows.push_back(ButtonBody(n.darkerBody, n.group, {84, 11, 65, 32}));
    rows.push_back(ButtonLabel(n.darkerLabel, n.darkerBody, {0, 0, 60, 32}, kSmall12, "减少亮度"));
    rows.push_back(ButtonBody(n.brighterBody, n.group, {6, 10, 65, 32}));
    rows.push_back(ButtonLabel(n.brighterLabel, n.brighterBody, {0, 0, 60, 32}, kSmall12, "增加亮度"));
}

std::vector<ControlRow> BuildControls() {
    std::vector<ControlRow> rows;
    rows.push_back({.name = "外形框1", .kind = ControlKind::ShapeBox, .rect = {0, 0, 1024, 650},
                    .background = kWhite, .outline = kAccent});
    rows.push_back({.name = "外形框5", .kind = ControlKind::ShapeBox, .parent = "外形框1",
                    .rect = {312, 392, 224, 248}, .outline = kAccent});
    rows.push_back({.name = "透明标签4", .kind = ControlKind::TransparentLabel, .parent = "外形框5",
                    .rect = {7, 3, 209, 237}, .text = kAccent, .font = kYaHei16,
                    .hAlign = HAlign::Left, .vAlign = ui::VAlign::Top, .wrap = true,
                    .caption = kInstructions});
    rows.push_back(ButtonBody(reader::kReadCardBody, "外形框1", {556, 428, 208, 80}));
    rows.push_back(ButtonLabel(reader::kReadCardLabel, reader::kReadCardBody, {0, 0, 208, 80}, kYaHei32Bold, "读取身份证"));
    rows.push_back({.name = "外形框4", .kind = ControlKind::ShapeBox, .parent = "外形框1",
                    .rect = {400, 96, 512, 34}, .background = kAccent, .outline = kWhite});
    rows.push_back(ButtonLabel(reader::kStudentLabel, "外形框4", {5, 2, 512, 24}, kYaHei24Bold, "请读身份证"));
    rows.push_back({.name = "透明标签3", .kind = ControlKind::TransparentLabel, .parent = "外形框1",
                    .rect = {368, 8, 568, 56}, .text = kAccent, .font = {"黑体", 56, false},
                    .effect = ui::TextEffect::Raised, .caption = "Orvia"});
    rows.push_back({.name = "按钮_设置", .kind = ControlKind::GraphicButton, .parent = "外形框1",
                    .rect = {962, 8, 29, 29},
                    .pictures = {"SETTINGS_NORMAL", "SETTINGS_HOVER", "SETTINGS_PRESSED"}});
    rows.push_back({.name = "关闭", .kind = ControlKind::GraphicButton, .parent = "外形框1",
                    .rect = {991, 8, 30, 30},
                    .pictures = {"CLOSE_NORMAL", "CLOSE_HOVER", "CLOSE_PRESSED"}});
    rows.push_back(ButtonBody(reader::kPhotoBody, "外形框1", {559, 428, 208, 80}));
    rows.push_back(ButtonLabel(reader::kPhotoLabel, reader::kPhotoBody, {0, 0, 208, 80}, kYaHei32Bold, "拍     照"));
    rows.push_back(DrawingBoard("画板4", 840));
    rows.push_back(DrawingBoard("画板3", 670));
    rows.push_back(DrawingBoard("画板2", 502));
    rows.push_back(DrawingBoard("画板1", 333));
    AddBrightnessGroup(rows, {"分组框_图4", "外形框_按钮减少亮度4", "透明标签_减少亮度4",
                              "外形框_按钮增加亮度4", "透明标签_增加亮度4"}, 835, 338);
    AddBrightnessGroup(rows, {"分组框_图3", "外形框_按钮减少亮度3", "透明标签_减少亮度3",
                              "外形框_按钮增加亮度3", "透明标签_增加亮度3"}, 665, 337);
    AddBrightnessGroup(rows, {"分组框_图2", "外形框_按钮减少亮度2", "透明标签_减少亮度2",
                              "外形框_按钮增加亮度2", "透明标签_增加亮度2"}, 498, 337);
    AddBrightnessGroup(rows, {"分组框_图1", "外形框_按钮减少亮度1", "透明标签_减少亮度1",
                              "外形框_按钮增加亮度1", "透明标签_增加亮度1"}, 326, 338);
    rows.push_back({.name = "分组框1", .kind = ControlKind::GroupBox, .parent = "外形框1",
                    .rect = {14, 485, 267, 163}, .background = kWhite, .text = Rgb(0x000000),
                    .hAlign = HAlign::Left, .caption = "摄像头分辨率"});
    rows.push_back({.name = "按钮2", .kind = ControlKind::PushButton, .parent = "分组框1",
                    .rect = {59, 128, 119, 32}, .caption = "保存配置", .tabStop = true});
    rows.push_back({.name = "按钮1", .kind = ControlKind::PushButton, .parent = "分组框1",
                    .rect = {160, 24, 82, 35}, .caption = "关闭设备", .tabStop = true});
    rows.push_back({.name = "列表框1", .kind = ControlKind::ListBox, .parent = "分组框1",
                    .rect = {8, 16, 136, 48}, .tabStop = true});
    rows.push_back({.name = "透明标签2", .kind = ControlKind::TransparentLabel, .parent = "分组框1",
                    .rect = {47, 111, 176, 20}, .text = Rgb(0xFF0000), .hAlign = HAlign::Left,
                    .caption = " 640         800         1024"});
    rows.push_back({.name = "滑块条1", .kind = ControlKind::Slider, .parent = "分组框1",
                    .rect = {7, 71, 250, 41}, .tabStop = true,
                    .slider = {.minimum = 1, .maximum = 10, .position = 3, .lineSize = 1,
                               .pageSize = 5, .ticks = true}});
    rows.push_back({.name = "外形框2", .kind = ControlKind::ShapeBox, .parent = "外形框1",
                    .rect = {6, 44, 299, 442}, .background = kAccent, .outline = kWhite});
    rows.push_back({.name = "透明标签1", .kind = ControlKind::TransparentLabel, .parent = "外形框2",
                    .rect = {95, 2, 104, 24}, .text = kWhite, .font = kYaHei16,
                    .hAlign = HAlign::Left, .caption = "视屏照相系统"});
    rows.push_back({.name = "外形框3", .kind = ControlKind::ShapeBox, .parent = "外形框2",
                    .rect = {2, 28, 295, 412}, .outline = kAccent, .ownWindow = true});
    rows.push_back({.name = "外形框_视频", .kind = ControlKind::ShapeBox, .parent = "外形框3",
                    .rect = {-16, -16, 358, 442}, .background = Rgb(0x000000), .outline = kWhite,
                    .ownWindow = true});
    return rows;
}

constexpr std::array<ui::MenuItemRow, 3> kMenu{{
    {"帮助", 0},
    {"软件帮助", 1},
    {"联系作者", 1},
}};
}  // namespace

const ui::WindowTemplate& MainWindowTemplate() {
    static const std::vector<ControlRow> controls = BuildControls();
    static const ui::WindowTemplate layout{kMainWidth, kMainHeight, controls, kMenu};
    return layout;
}

}  // namespace app
