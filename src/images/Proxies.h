#pragma once

#include <QImage>
#include <QString>

namespace tavrin {

class Prompter;
struct MenuLayout;
struct StripPicture;

// A proxy is reduced so that its longer side is this many pixels.
inline constexpr int kProxyLimit = 1600;
// Quality of a proxy rebuilt for one strip after an undo.
inline constexpr int kRebuiltProxyJpegQuality = 60;

inline const QString kProxySaveFailedMessage =
    QStringLiteral("Unable to Save proxy File.\n\n Please call Tessal Design Tech Support.");
inline const QString kBackgroundProxySaveFailedMessage =
    QStringLiteral("Unable to Save Background proxy File.\n\n Please call Tessal Design Tech Support.");

// "<folder>/Background.jpg" and "<folder>/Background_Proxy.jpg".
QString BackgroundCopyPath(const QString &workingFolder);
QString BackgroundProxyPath(const QString &workingFolder);

// The proxy file of a picture, as the renderer looks for it: the last ".jpg" or ".JPG" replaced
// by "_Proxy.jpg", else the last ".png" by "_Proxy.png", else the last ".gif" by "_Proxy.gif".
// Empty when the name has none of these.
QString PictureProxyPath(const QString &picturePath);

// Brightens (brightness above 0) or darkens every pixel that is not fully transparent: red,
// green and blue times 1 + brightness / 255, cut to whole numbers within 0 to 255, alpha made
// opaque. 255 doubles every channel, -255 gives black. Brightness 0 changes nothing.
void ChangeBrightness(QImage &image, int brightness);

enum class ProxyOutcome {
    Copied,  // a byte copy of the picture (GIF or small picture), or there was nothing to make
    Reduced, // a reduced proxy was written
    Failed,  // the reduced proxy could not be written; the message has been shown
};

// The proxy of one picture: GIF pictures and pictures of at most 1600 pixels each way get a byte
// copy (an existing proxy stays); larger ones a reduced copy with the brightness change, PNG for
// PNG pictures, else JPEG at quality 80. A picture that cannot be decoded gets a byte copy.
ProxyOutcome MakePictureProxy(const QString &picturePath, int brightness, Prompter &prompter);

// Proxies of every picture of the board; returns the new value of the picture proxy switch: true
// when the last reduced proxy made was written. Layouts that did not come from a package get no
// proxies (false).
bool MakeAllPictureProxies(const MenuLayout &layout, bool fromPackage, Prompter &prompter);

// The background proxy beside the working folder's "Background.jpg"; returns the new value of the
// background proxy switch: true only when a background larger than 1600 pixels either way was
// reduced and written.
bool MakeBackgroundProxy(const QString &workingFolder, bool fromPackage, Prompter &prompter);

// The proxy of one strip's picture made anew after an undo, replacing the old one: full size when
// small, else reduced, with the brightness change; JPEG pictures at quality 60. True when it was
// written; a picture that cannot be decoded gets no proxy (false, no message).
bool RebuildStripProxy(const StripPicture &picture, Prompter &prompter);

} // namespace tavrin
