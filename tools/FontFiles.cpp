#include "tools/FontFiles.h"

#include "tools/ImportSupport.h"

#include <fontconfig/fontconfig.h>
#include <memory>

namespace {

struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
struct ObjectSetDeleter {
    void operator()(FcObjectSet* set) const { FcObjectSetDestroy(set); }
};
struct FontSetDeleter {
    void operator()(FcFontSet* set) const { FcFontSetDestroy(set); }
};

} // namespace

QString FontFileOf(const QRawFont& font) {
    const QByteArray family = font.familyName().toUtf8();
    const QByteArray style = font.styleName().toUtf8();
    std::unique_ptr<FcPattern, PatternDeleter> pattern(FcPatternCreate());
    std::unique_ptr<FcObjectSet, ObjectSetDeleter> objects(FcObjectSetBuild(FC_FILE, FC_INDEX, nullptr));
    if (!pattern || !objects)
        throw ToolError(
            QStringLiteral("fontconfig could not be asked for the font %1").arg(font.familyName()));
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.constData()));
    if (!style.isEmpty())
        FcPatternAddString(pattern.get(), FC_STYLE, reinterpret_cast<const FcChar8*>(style.constData()));
    const std::unique_ptr<FcFontSet, FontSetDeleter> fonts(FcFontList(nullptr, pattern.get(), objects.get()));
    const QByteArray head = font.fontTable("head");
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        FcChar8* file = nullptr;
        int index = 0;
        if (FcPatternGetString(fonts->fonts[i], FC_FILE, 0, &file) != FcResultMatch)
            continue;
        FcPatternGetInteger(fonts->fonts[i], FC_INDEX, 0, &index);
        QString path = QString::fromUtf8(reinterpret_cast<const char*>(file));
        if (index != 0 || QRawFont(path, font.pixelSize()).fontTable("head") != head)
            continue;
        return path;
    }
    throw ToolError(QStringLiteral("no installed font file holds %1 %2, which the text falls back to")
                        .arg(font.familyName(), font.styleName()));
}
