#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

// The program's own pictures, drawn as SVG files in the resources under ":/app/".
namespace blikon::pictures {

// Picture names: the file name without ".svg".
inline constexpr char kProgramIcon[] = "icon";                 // 37 LEDs on the board, some lit
inline constexpr char kSplashBackground[] = "splash-background";
inline constexpr char kSplashImage2[] = "splash-image2";       // the 8051 chip driving three LEDs
inline constexpr char kAboutBackground[] = "about-background";
inline constexpr char kAboutImage1[] = "about-image1";         // one lit LED
inline constexpr char kAboutImage2[] = "about-image2";         // an open book with a question mark
inline constexpr char kFloatingIcon[] = "floating-icon";       // seven lit LEDs, 32 x 32 px

// The window icon of every window of the program, in the usual icon sizes from 16 to
// 256 px; the same icon every time.
[[nodiscard]] QIcon programIcon();

// The named picture drawn at `size` (logical pixels, sharp on high-density screens),
// stretched to fill it; a null pixmap when there is no picture of that name.
// Example: picture(kSplashImage2, {120, 60}).
[[nodiscard]] QPixmap picture(const QString& name, const QSize& size);

}  // namespace blikon::pictures
