#include "tests/e2e/help_pictures.h"

#include "app/startup.h"
#include "platform/gdiplus.h"

namespace e2e {

namespace {
// GDI+'s JPEG encoder.
constexpr CLSID kJpegEncoder{0x557cf401, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
// The JPEG quality parameter.
constexpr GUID kEncoderQuality{0x1d5be4b5, 0xfa4a, 0x452d, {0x9c, 0xdd, 0x5d, 0xb3, 0x51, 0x05, 0xe7, 0xeb}};
constexpr int kSize = 512;

void Line(Gdiplus::Graphics& g, const wchar_t* text, const wchar_t* face, float pixels, int style,
          Gdiplus::Color colour, float top, float height) {
    Gdiplus::Font font(face, pixels, style, Gdiplus::UnitPixel);
    Gdiplus::SolidBrush brush(colour);
    Gdiplus::StringFormat format;
    format.SetAlignment(Gdiplus::StringAlignmentCenter);
    format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    const Gdiplus::RectF place(0.0f, top, static_cast<float>(kSize), height);
    g.DrawString(text, -1, &font, place, &format, &brush);
}
}  // namespace

bool DrawContactCard(const std::wstring& path) {
    app::StartGdiplusOnce();
    Gdiplus::Bitmap card(kSize, kSize, PixelFormat24bppRGB);
    {
        Gdiplus::Graphics g(&card);
        g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
        g.Clear(Gdiplus::Color(255, 255, 255));
        const Gdiplus::Color accent(0x00, 0x88, 0xFF);
        const Gdiplus::Color ink(0x33, 0x33, 0x33);
        const Gdiplus::Color quiet(0x80, 0x80, 0x80);
        Gdiplus::SolidBrush band(accent);
        g.FillRectangle(&band, 0, 0, kSize, 170);
        Line(g, L"Orvia", L"黑体", 112.0f, Gdiplus::FontStyleRegular, Gdiplus::Color(255, 255, 255), 10.0f, 120.0f);
        Line(g, L"学员证件照拍摄台", L"微软雅黑", 30.0f, Gdiplus::FontStyleRegular, Gdiplus::Color(255, 255, 255), 122.0f, 44.0f);

        Line(g, L"使用帮助", L"微软雅黑", 34.0f, Gdiplus::FontStyleBold, accent, 200.0f, 50.0f);
        Line(g, L"点窗口右上角的设置按钮，", L"微软雅黑", 26.0f, Gdiplus::FontStyleRegular, ink, 256.0f, 40.0f);
        Line(g, L"选“软件帮助”看操作步骤", L"微软雅黑", 26.0f, Gdiplus::FontStyleRegular, ink, 296.0f, 40.0f);
        Line(g, L"完整说明：随程序附带的 README", L"微软雅黑", 24.0f, Gdiplus::FontStyleRegular, ink, 352.0f, 40.0f);
        Gdiplus::Pen rule(Gdiplus::Color(0xDD, 0xDD, 0xDD), 2.0f);
        g.DrawLine(&rule, 60, 420, kSize - 60, 420);
        Line(g, L"点击图片关闭本窗口", L"微软雅黑", 24.0f, Gdiplus::FontStyleRegular, quiet, 436.0f, 50.0f);
    }
    Gdiplus::EncoderParameters parameters{};
    ULONG quality = 90;
    parameters.Count = 1;
    parameters.Parameter[0].Guid = kEncoderQuality;
    parameters.Parameter[0].Type = Gdiplus::EncoderParameterValueTypeLong;
    parameters.Parameter[0].NumberOfValues = 1;
    parameters.Parameter[0].Value = &quality;
    return card.Save(path.c_str(), &kJpegEncoder, &parameters) == Gdiplus::Ok;
}

}  // namespace e2e
