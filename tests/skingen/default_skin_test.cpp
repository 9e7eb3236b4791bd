// Checks the default skin the build draws into Skins/: every key the main window reads is there,
// every control has a real place inside the background, visible controls never cover each other,
// every image button changes its look with its state, key caps carry their names, and the panel
// bitmaps, arrow faces and the template user lighting file fit what the program loads.

#include "model/key_controls.h"
#include "platform/ini.h"
#include "skin/core/skin_file.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using kovrel::skin::SkinRect;

fs::path SkinsFolder() {
    const char* folder = std::getenv("KOVREL_SKINS_DIR");
    return folder ? fs::path(folder) : fs::path(KOVREL_SKINS_DIR_DEFAULT);
}

fs::path MainIni() {
    return SkinsFolder() / "Main.ini";
}

std::u16string U16(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

QString PathOf(const char* name) {
    return QString::fromStdString((SkinsFolder() / name).string());
}

QImage LoadPicture(const char* name) {
    QImage image(PathOf(name));
    return image.convertToFormat(QImage::Format_RGB32);
}

// The keys of a section in file order, read line by line (the program's reader answers single
// keys only).
std::vector<std::string> SectionKeys(const fs::path& file, const std::string& section) {
    std::ifstream in(file);
    std::vector<std::string> keys;
    std::string line;
    bool inside = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line[0] == ';') {
            continue;
        }
        if (line[0] == '[') {
            inside = line == "[" + section + "]";
            continue;
        }
        if (inside) {
            const auto eq = line.find('=');
            if (eq != std::string::npos) {
                keys.push_back(line.substr(0, eq));
            }
        }
    }
    return keys;
}

QRect ToQRect(const SkinRect& r) {
    return QRect(r.x, r.y, r.w, r.h);
}

QRect ButtonRect(const std::string& key) {
    return ToQRect(kovrel::skin::ReadSkinRect(MainIni(), kovrel::skin::kButtonSection, U16(key)));
}

bool HasValue(const std::string& section, const std::string& key, const fs::path& file) {
    const std::optional<std::u16string> value =
        kovrel::platform::FindIniValue(U16(section), U16(key), file);
    return value && !value->empty();
}

// ---- What the main window reads --------------------------------------------------------------

std::vector<std::string> KeyCapKeys() {
    std::vector<std::string> keys;
    for (const kovrel::KeyControl& control : kovrel::KeyboardControls()) {
        keys.push_back(kovrel::SkinKeyOf(control));
    }
    return keys;
}

const std::vector<std::string> kOtherImageButtons = {
    "TESKAL_LINK",   "FUNC_PROFILES", "FUNC_MACRO",       "CONTROL_OK",    "CONTROL_CANCEL",
    "CONTROL_HELP",  "CONTROL_CLOSE", "CONTROL_MINIMIZE", "CONTROL_MENU",  "CONTROL2_APPLY",
    "LOCK_CAPS",     "LOCK_NUM",      "LOCK_SCROLL",      "LOCK_AB",       "FLIP_0",
    "FLIP_1",        "FLIP_2",        "TESKAL_VER",       "FUNC_PROFILE1", "FUNC_PROFILE2",
    "FUNC_PROFILE3", "FUNC_DEFAULT",  "FUNC_SWITCH",      "FUNC_REPORT1",  "FUNC_REPORT2",
    "FUNC_REPORT3",  "FUNC_REPORT4",
};

const std::vector<std::string> kArrowButtons = {"LEFT_ARROW", "RIGHT_ARROW"};

const std::vector<std::string> kPanelControls = {
    "CONTROL_UsbStatic",
    "CONTROL_DengStatic",
    "CONTROL_DengStaPic",
    "CONTROL_XGcombox",
    "CONTROL_JDTStatic",
    "CONTROL_LightStatic",
    "CONTROL_LightSlider",
    "CONTROL_SpeedStatic",
    "CONTROL_SpeedSlider",
    "CONTROL_BLFXStatic",
    "CONTROL_BLFXLStaPic",
    "CONTROL_BLFXRStaPic",
    "CONTROL_FYYSStatic",
    "CONTROL_FYYSButton",
    "CONTROL_FYSJSStaPic",
    "CONTROL_FYSJSStatic",
    "CONTROL_FYCFStatic",
    "CONTROL_FYdjcfStatic",
    "CONTROL_FYggcfStatc",
    "CONTROL_FYdjcfStaPic",
    "CONTROL_FYggcfStaPic",
    "CONTROL_HONGPIC",
    "CONTROL_HUANGPIC",
    "CONTROL_LVPIC",
    "CONTROL_LANPIC",
    "CONTROL_HXysStatic",
    "CONTROL_HXysButton",
    "CONTROL_HXsjsStatic",
    "CONTROL_HXsjsStaPic",
    "CONTROL_JTysStatic",
    "CONTROL_JTysButton",
    "CONTROL_USERysStatic",
    "CONTROL_USERysButton",
    "CONTROL_USERjsStatic",
    "CONTROL_USERjsButton",
    "CONTROL_USERgjStatic",
    "CONTROL_USERgjStaPic1",
    "CONTROL_USERgjStaPic2",
    "CONTROL_TSysStatic",
    "CONTROL_TSysButton",
    "CONTROL_TSsjsStatic",
    "CONTROL_TSsjsStaPic",
    "CONTROL_CDysStatic",
    "CONTROL_CDysButton",
    "CONTROL_CDsjsStatic",
    "CONTROL_CDsjsStaPic",
    "CONTROL_umCombo",
    "m_rgbr_static",
    "m_edit_rgbr",
    "m_rgbg_static",
    "m_edit_rgbg",
    "m_rgbb_static",
    "m_edit_rgbb",
    // Direction controls moved to another place for some effects.
    "CONTROL_BLFXRStaPic2",
    "CONTROL_BLFXStatic2",
    "CONTROL_BLFXLStaPic2",
    "CONTROL_BLFXStatic3",
    "CONTROL_BLFXLStaPic3",
};

std::vector<std::string> ImageButtonKeys() {
    std::vector<std::string> keys = KeyCapKeys();
    keys.insert(keys.end(), kOtherImageButtons.begin(), kOtherImageButtons.end());
    return keys;
}

TEST(DefaultSkin, MainIniHoldsEveryKeyTheMainWindowReads) {
    ASSERT_TRUE(fs::exists(MainIni())) << MainIni();
    std::vector<std::string> expected = ImageButtonKeys();
    expected.insert(expected.end(), kArrowButtons.begin(), kArrowButtons.end());
    expected.insert(expected.end(), kPanelControls.begin(), kPanelControls.end());
    ASSERT_EQ(KeyCapKeys().size(), 114u); // 104 keys, G1-G9, Fn
    for (const std::string& key : expected) {
        EXPECT_TRUE(HasValue("BUTTONINFO", key, MainIni())) << key;
    }
    for (const char* word :
         {"UP_ARROW_LEFT", "DOWN_ARROW_LEFT", "UP_ARROW_RIGHT", "DOWN_ARROW_RIGHT"}) {
        for (int n : {1, 2}) {
            EXPECT_TRUE(HasValue("BUTTONINFO2", word + std::to_string(n), MainIni())) << word << n;
        }
    }
    for (const char* section : {"Control_Name", "Control_Name1"}) {
        for (const char* key :
             {"Usb", "Deng", "Light", "FX", "Speed", "Color", "JColor", "DC", "Tool"}) {
            EXPECT_TRUE(HasValue(section, key, MainIni())) << section << "/" << key;
        }
    }
    for (const char* section : {"Mode", "Mode1"}) {
        for (int n = 1; n <= 20; ++n) {
            EXPECT_TRUE(HasValue(section, std::to_string(n), MainIni())) << section << "/" << n;
        }
    }
    EXPECT_TRUE(HasValue("SCREEN", "Link", MainIni()));
    const kovrel::skin::SkinScreen screen = kovrel::skin::ReadSkinScreen(MainIni());
    for (const std::u16string& name : {screen.main, screen.mask}) {
        ASSERT_FALSE(name.empty());
        EXPECT_FALSE(QImage(QString::fromStdString(
                                (SkinsFolder() / std::string(name.begin(), name.end())).string()))
                         .isNull());
    }
}

TEST(DefaultSkin, EveryPictureTheProgramLoadsDecodes) {
    for (const char* name :
         {"main_normal.jpg", "main_over.jpg", "main_down.jpg", "main_disable.jpg",
          "main_color0.jpg", "main_color1.jpg", "Arrow.jpg"}) {
        EXPECT_FALSE(QImage(PathOf(name)).isNull()) << name;
    }
    EXPECT_TRUE(fs::exists(SkinsFolder().parent_path() / "Help" / "index.html"));
}

// ---- Places --------------------------------------------------------------------------------

TEST(DefaultSkin, EveryControlHasARealPlaceInsideTheBackground) {
    const QImage background = LoadPicture("main_bg.bmp");
    ASSERT_FALSE(background.isNull());
    const QRect window(QPoint(0, 0), background.size());
    for (const std::string& key : SectionKeys(MainIni(), "BUTTONINFO")) {
        const QRect rect = ButtonRect(key);
        EXPECT_FALSE(rect.x() == 1 && rect.y() == 1) << key << " sits at (1,1), i.e. absent";
        EXPECT_GT(rect.width(), 1) << key;
        EXPECT_GT(rect.height(), 1) << key;
        EXPECT_TRUE(window.contains(rect)) << key;
    }
}

TEST(DefaultSkin, TheOutlineCutsOnlyTheCorners) {
    const QImage mask = LoadPicture("main_mask.bmp");
    ASSERT_EQ(mask.size(), LoadPicture("main_bg.bmp").size());
    const QRgb white = qRgb(255, 255, 255);
    EXPECT_EQ(mask.pixel(0, 0), white);
    EXPECT_EQ(mask.pixel(mask.width() - 1, mask.height() - 1), white);
    EXPECT_NE(mask.pixel(mask.width() / 2, 0), white);
    EXPECT_NE(mask.pixel(mask.width() / 2, mask.height() / 2), white);
}

// Controls the lighting panel shows only for some effects. Two controls may share a place when no
// state of the window shows both; every other control is always visible.
struct Group {
    const char* name;
    std::vector<std::string> keys;
};

std::vector<Group> PanelGroups() {
    return {
        {"effectBase", {"CONTROL_XGcombox", "CONTROL_LightStatic", "CONTROL_LightSlider"}},
        {"speed", {"CONTROL_SpeedStatic", "CONTROL_SpeedSlider"}},
        {"fx", {"CONTROL_BLFXStatic", "CONTROL_BLFXLStaPic", "CONTROL_BLFXRStaPic"}},
        {"fx2", {"CONTROL_BLFXStatic2", "CONTROL_BLFXLStaPic2", "CONTROL_BLFXRStaPic2"}},
        {"fx3", {"CONTROL_BLFXStatic3", "CONTROL_BLFXLStaPic3", "CONTROL_BLFXRStaPic3"}},
        {"pairA",
         {"CONTROL_HXysStatic", "CONTROL_HXysButton", "CONTROL_HXsjsStatic",
          "CONTROL_HXsjsStaPic"}},
        {"pairB",
         {"CONTROL_FYYSStatic", "CONTROL_FYYSButton", "CONTROL_FYSJSStatic",
          "CONTROL_FYSJSStaPic"}},
        {"fixed", {"CONTROL_HONGPIC", "CONTROL_HUANGPIC", "CONTROL_LVPIC", "CONTROL_LANPIC"}},
        {"user",
         {"CONTROL_USERysStatic", "CONTROL_USERysButton", "CONTROL_USERjsStatic",
          "CONTROL_USERjsButton", "CONTROL_USERgjStatic", "CONTROL_USERgjStaPic1",
          "CONTROL_USERgjStaPic2"}},
        {"userList", {"CONTROL_umCombo"}},
        // Kept hidden at all times by the panel.
        {"hidden",
         {"CONTROL_JTysStatic", "CONTROL_JTysButton", "CONTROL_FYCFStatic", "CONTROL_FYdjcfStatic",
          "CONTROL_FYggcfStatc", "CONTROL_FYdjcfStaPic", "CONTROL_FYggcfStaPic",
          "CONTROL_TSysStatic", "CONTROL_TSysButton", "CONTROL_TSsjsStatic", "CONTROL_TSsjsStaPic",
          "CONTROL_CDysStatic", "CONTROL_CDysButton", "CONTROL_CDsjsStatic",
          "CONTROL_CDsjsStaPic"}},
    };
}

// The window's states: the view off, the panel before its first refresh, and each effect.
struct Scene {
    std::string name;
    std::set<std::string> groups;
};

std::vector<Scene> Scenes() {
    std::vector<Scene> scenes = {
        {"lighting view off", {}},
        {"before the first refresh", {"effectBase", "speed", "fx", "userList"}},
    };
    for (int code = 1; code <= 20; ++code) {
        std::set<std::string> groups = {"effectBase"};
        switch (code) {
        case 1:
        case 2:
        case 3:
            groups.insert({"speed", "fx2", "pairA"});
            break;
        case 4:
        case 11:
            groups.insert("speed");
            break;
        case 5:
        case 7:
        case 8:
        case 9:
        case 10:
        case 13:
        case 14:
        case 15:
            groups.insert({"speed", "pairA"});
            break;
        case 6:
        case 16:
            groups.insert("pairB");
            break;
        case 12:
            groups.insert({"speed", "fx3"});
            break;
        case 17:
            groups.insert("fixed");
            break;
        case 18:
            groups.insert("fx");
            break;
        case 19:
            groups.clear();
            break;
        case 20:
            groups.insert({"user", "userList"});
            break;
        }
        scenes.push_back({"effect " + std::to_string(code), groups});
    }
    return scenes;
}

TEST(DefaultSkin, NoTwoVisibleControlsOverlapInAnyStateOfTheWindow) {
    std::map<std::string, std::string> groupOf;
    for (const Group& group : PanelGroups()) {
        for (const std::string& key : group.keys) {
            groupOf[key] = group.name;
        }
    }
    const std::vector<std::string> keys = SectionKeys(MainIni(), "BUTTONINFO");
    ASSERT_GT(keys.size(), 200u);
    for (const Scene& scene : Scenes()) {
        std::vector<std::pair<std::string, QRect>> visible;
        for (const std::string& key : keys) {
            const auto found = groupOf.find(key);
            if (found == groupOf.end() || scene.groups.count(found->second)) {
                visible.emplace_back(key, ButtonRect(key));
            }
        }
        for (std::size_t i = 0; i < visible.size(); ++i) {
            for (std::size_t j = i + 1; j < visible.size(); ++j) {
                EXPECT_FALSE(visible[i].second.intersects(visible[j].second))
                    << scene.name << ": " << visible[i].first << " overlaps " << visible[j].first;
            }
        }
    }
}

// ---- Faces ---------------------------------------------------------------------------------

// Mean difference per colour channel of two same-sized regions.
double MeanDifference(const QImage& a, const QImage& b, const QRect& rect) {
    double sum = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * rect.width() * rect.height());
}

// An image button copies its face from one pixel above and left of its place.
QRect FaceRect(const std::string& key) {
    return ButtonRect(key).translated(-1, -1);
}

TEST(DefaultSkin, EveryImageButtonLooksDifferentInEachStatePicture) {
    const QImage normal = LoadPicture("main_normal.jpg");
    struct Picture {
        const char* name;
        QImage image;
        bool keyCapsOnly;
    };
    const Picture pictures[] = {
        {"main_over.jpg", LoadPicture("main_over.jpg"), false},
        {"main_down.jpg", LoadPicture("main_down.jpg"), false},
        {"main_disable.jpg", LoadPicture("main_disable.jpg"), false},
        // The colour-mode pictures are used by key, G and Fn buttons only.
        {"main_color0.jpg", LoadPicture("main_color0.jpg"), true},
        {"main_color1.jpg", LoadPicture("main_color1.jpg"), true},
    };
    const QRect bounds(QPoint(0, 0), normal.size());
    const std::vector<std::string> keyCaps = KeyCapKeys();
    for (const std::string& key : ImageButtonKeys()) {
        const QRect face = FaceRect(key);
        ASSERT_TRUE(bounds.contains(face)) << key;
        const bool keyCap = std::find(keyCaps.begin(), keyCaps.end(), key) != keyCaps.end();
        for (const Picture& picture : pictures) {
            ASSERT_EQ(picture.image.size(), normal.size()) << picture.name;
            if (picture.keyCapsOnly && !keyCap) {
                continue;
            }
            // JPEG noise stays well below this; a changed look is far above it.
            EXPECT_GT(MeanDifference(normal, picture.image, face), 4.0)
                << key << " looks the same in " << picture.name;
        }
    }
}

int Luminance(QRgb p) {
    return (qRed(p) * 299 + qGreen(p) * 587 + qBlue(p) * 114) / 1000;
}

TEST(DefaultSkin, EveryKeyCapCarriesItsName) {
    const QImage normal = LoadPicture("main_normal.jpg");
    for (const std::string& key : KeyCapKeys()) {
        const QRect face = FaceRect(key);
        std::vector<int> levels;
        for (int y = face.top(); y <= face.bottom(); ++y) {
            for (int x = face.left(); x <= face.right(); ++x) {
                levels.push_back(Luminance(normal.pixel(x, y)));
            }
        }
        std::vector<int> sorted = levels;
        std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
        const int median = sorted[sorted.size() / 2];
        // Legend strokes stand far out from the cap's surface, whose shading stays close to it;
        // even a thin mark such as "-" covers more than a handful of pixels.
        const auto strokes = std::count_if(levels.begin(), levels.end(),
                                           [&](int l) { return std::abs(l - median) > 60; });
        EXPECT_GE(strokes, 8) << key << " is blank";
    }
}

TEST(DefaultSkin, ArrowFacesLieInsideTheArrowPictureAndShowTheirPress) {
    const QImage arrows = LoadPicture("Arrow.jpg");
    ASSERT_FALSE(arrows.isNull());
    const QRect bounds(QPoint(0, 0), arrows.size());
    for (const char* side : {"LEFT", "RIGHT"}) {
        const QSize size = ButtonRect(std::string(side) + "_ARROW").size();
        for (int n : {1, 2}) {
            auto face = [&](const char* word) {
                const SkinRect r = kovrel::skin::ReadSkinRect(
                    MainIni(), kovrel::skin::kArrowFaceSection,
                    U16(std::string(word) + "_ARROW_" + side + std::to_string(n)));
                return QRect(QPoint(r.x - 1, r.y - 1), size);
            };
            const QRect up = face("UP");
            const QRect down = face("DOWN");
            ASSERT_TRUE(bounds.contains(up)) << side << n;
            ASSERT_TRUE(bounds.contains(down)) << side << n;
            EXPECT_GT(MeanDifference(arrows.copy(up), arrows.copy(down), QRect(QPoint(0, 0), size)),
                      4.0)
                << side << n;
        }
    }
}

TEST(DefaultSkin, PanelBitmapsFitTheControlsThatShowThem) {
    std::map<std::string, std::vector<std::string>> filesOf = {
        {"CONTROL_DengStaPic", {"dengup", "dengdown"}},
        {"CONTROL_LightSlider", {"0", "1", "2", "3", "4"}},
        {"CONTROL_SpeedSlider", {"6", "7", "8", "9", "10"}},
        {"CONTROL_BLFXLStaPic", {"leftup", "leftdown", "upup", "updown", "kuosan", "kuosandown"}},
        {"CONTROL_BLFXRStaPic",
         {"rightup", "rightdown", "downup", "downdown", "julong", "julongdown"}},
        {"CONTROL_HXsjsStaPic", {"sjsup", "sjsdown"}},
        {"CONTROL_FYSJSStaPic", {"sjsup", "sjsdown"}},
        {"CONTROL_HONGPIC", {"hong", "hongok"}},
        {"CONTROL_HUANGPIC", {"huang", "huangok"}},
        {"CONTROL_LVPIC", {"lv", "lvok"}},
        {"CONTROL_LANPIC", {"lan", "lanok"}},
        {"CONTROL_USERgjStaPic1", {"user1up", "user1down"}},
        {"CONTROL_USERgjStaPic2", {"user2up", "user2down"}},
        {"CONTROL_JDTStatic",
         {"jdt1", "jdt2", "jdt3", "jdt4", "jdt5", "jdt6", "jdt7", "jdt8", "jdt9", "jdt10"}},
    };
    for (const auto& [key, files] : filesOf) {
        const QSize size = ButtonRect(key).size();
        for (const std::string& file : files) {
            const QImage image = LoadPicture((file + ".bmp").c_str());
            ASSERT_FALSE(image.isNull()) << file;
            EXPECT_EQ(image.size(), size) << file << ".bmp for " << key;
        }
    }
    // Loaded but never shown; they must still exist.
    for (int n : {5, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25}) {
        EXPECT_FALSE(LoadPicture((std::to_string(n) + ".bmp").c_str()).isNull()) << n;
    }
}

// ---- Template user lighting file ----------------------------------------------------------

std::vector<int> Numbers(const std::u16string& text) {
    std::vector<int> numbers;
    std::stringstream in(std::string(text.begin(), text.end()));
    std::string part;
    while (std::getline(in, part, ',')) {
        numbers.push_back(std::stoi(part));
    }
    return numbers;
}

TEST(DefaultSkin, TemplateUserLightingFileHoldsTenNamedModesForEveryKey) {
    const fs::path file = SkinsFolder() / "UserDengColor_3.userd";
    ASSERT_TRUE(fs::exists(file));
    const int mode = kovrel::platform::ReadIniInt(u"PRESENTMODE", u"mode", -1, file);
    EXPECT_GE(mode, 0);
    EXPECT_LE(mode, 9);
    std::set<std::u16string> names;
    for (int m = 0; m < 10; ++m) {
        const std::u16string name =
            kovrel::platform::ReadIniString(u"MODENAME", U16(std::to_string(m)), u"", file);
        EXPECT_FALSE(name.empty()) << m;
        names.insert(name);

        const std::u16string section = U16("Mode" + std::to_string(m));
        const int tool = kovrel::platform::ReadIniInt(section, u"tool", -1, file);
        EXPECT_TRUE(tool == 0 || tool == 1) << m;
        for (const char16_t* key : {u"jcolor", u"color"}) {
            const std::vector<int> rgb =
                Numbers(kovrel::platform::ReadIniString(section, key, u"", file));
            ASSERT_EQ(rgb.size(), 3u) << m;
        }
        std::vector<int> positions;
        for (const kovrel::KeyControl& control : kovrel::KeyControls()) {
            positions.push_back(control.ledPosition);
        }
        positions.push_back(kovrel::FnKeyControl().ledPosition);
        for (int position : positions) {
            const std::vector<int> value = Numbers(
                kovrel::platform::ReadIniString(section, U16(std::to_string(position)), u"", file));
            ASSERT_EQ(value.size(), 4u) << "mode " << m << " position " << position;
            for (int c = 0; c < 3; ++c) {
                EXPECT_GE(value[c], 0);
                EXPECT_LE(value[c], 255);
            }
            EXPECT_TRUE(value[3] == 0 || value[3] == 1);
        }
    }
    EXPECT_EQ(names.size(), 10u) << "mode names repeat";
}

} // namespace
