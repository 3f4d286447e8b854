#include "visualization/content/2021/cubes/palettes.h"

#include "visualization/util/assert.h"

namespace content2021::cubes {

namespace {

// Per palette, one row per sound-class group (SOFT_SLOW, CALM_LIGHT, MODERATE, LOUD_DYNAMIC,
// DARK_POWERFUL): colours 0 top, 1 bottom, 2 sides, 3 spare, 4 front, 5 back, 6 and 7 the
// far end of the reactive sides' gradient, then the resting and the beat background.
const PaletteTable kVersion0 = {{
    {{
        {"00FFE6FF", "00FFE6FF", "1F5FFFFF", "1F5FFFFF", "DFCCD0FF", "DFCDD1FF", "4285F4FF",
         "270B42FF", "002666FF", "FFFEEFFF"},
        {"AFFFF7FF", "4B736FFF", "98B1EBFF", "6F788DFF", "D188ADFF", "694456FF", "9CD8F6FF",
         "D69DFFFF", "384557FF", "748399FF"},
        {"53FFEEFF", "1D736AFF", "3667D9FF", "485982FF", "B22D70FF", "591638FF", "30A8E4FF",
         "A72DFFFF", "122033FF", "3F5473FF"},
        {"25FFE9FF", "067368FF", "0B4BE0FF", "3A5187FF", "B80960FF", "5C0530FF", "019DECFF",
         "9500FFFF", "06101FFF", "3E5E8CFF"},
        {"18F2DCFF", "006D62FF", "0036B2FF", "2B3E6BFF", "800040FF", "400020FF", "007DBBFF",
         "9500FFFF", "01060DFF", "213859FF"},
    }},
    {{
        {"98EEFFFF", "3F6A73FF", "C077D9FF", "795F82FF", "BF9B69FF", "604E35FF", "E478C0FF",
         "FFEA81FF", "1E1938FF", "5F568CFF"},
        {"AFF2FFFF", "4B6C73FF", "D698EBFF", "856F8DFF", "D1B388FF", "695944FF", "F69CD8FF",
         "FFEF9DFF", "3D3857FF", "7A7499FF"},
        {"53E2FFFF", "1D6473FF", "B036D9FF", "734882FF", "B27B2DFF", "593D16FF", "E430A8FF",
         "FFDC2DFF", "171233FF", "473F73FF"},
        {"25DBFFFF", "066173FF", "AB0BE0FF", "733A87FF", "B86F09FF", "5C3705FF", "EC019DFF",
         "FFD400FF", "0A061FFF", "4B3E8CFF"},
        {"18CEF2FF", "005B6DFF", "8600B2FF", "5B2B6BFF", "804A00FF", "402500FF", "BB007DFF",
         "FFD400FF", "03010DFF", "2A2159FF"},
    }},
    {{
        {"FFE598FF", "73663FFF", "D98B77FF", "82665FFF", "69A3BFFF", "355160FF", "E4788AFF",
         "FFFF81FF", "192E38FF", "567A8CFF"},
        {"FFEBAFFF", "73694BFF", "EBA998FF", "8D756FFF", "88B9D1FF", "445C69FF", "F69CABFF",
         "FFFF9DFF", "384D57FF", "748D99FF"},
        {"FFD453FF", "735D1DFF", "D95736FF", "825348FF", "2D86B2FF", "164359FF", "E4304EFF",
         "FFFF2DFF", "122833FF", "3F6173FF"},
        {"FFC825FF", "735706FF", "E0360BFF", "87493AFF", "097DB8FF", "053F5CFF", "EC0128FF",
         "FFFF00FF", "06161FFF", "3E728CFF"},
        {"F2BC18FF", "6D5200FF", "B22400FF", "6B382BFF", "005580FF", "002A40FF", "BB001FFF",
         "FFFF00FF", "01090DFF", "214759FF"},
    }},
    {{
        {"98FFBAFF", "3F7350FF", "9877D9FF", "6B5F82FF", "BF69BFFF", "603560FF", "78E4E4FF",
         "B5FF81FF", "291938FF", "71568CFF"},
        {"AFFFC9FF", "4B7358FF", "B498EBFF", "796F8DFF", "D188D1FF", "694469FF", "9CF6F6FF",
         "C6FF9DFF", "483857FF", "867499FF"},
        {"53FF8CFF", "1D7339FF", "6C36D9FF", "5B4882FF", "B22DB2FF", "591659FF", "30E4E4FF",
         "84FF2DFF", "221233FF", "593F73FF"},
        {"25FF6EFF", "06732AFF", "520BE0FF", "533A87FF", "B809B8FF", "5C055CFF", "01ECECFF",
         "6AFF00FF", "12061FFF", "653E8CFF"},
        {"18F261FF", "006D24FF", "3B00B2FF", "402B6BFF", "800080FF", "400040FF", "00BBBBFF",
         "6AFF00FF", "07010DFF", "3D2159FF"},
    }},
    {{
        {"FFA598FF", "73463FFF", "D9B877FF", "82765FFF", "6978BFFF", "353C60FF", "E478AEFF",
         "FFF481FF", "191E38FF", "565F8CFF"},
        {"FFB9AFFF", "73504BFF", "EBCF98FF", "8D836FFF", "8894D1FF", "444A69FF", "F69CC9FF",
         "FFF79DFF", "383D57FF", "747A99FF"},
        {"FF6A53FF", "73281DFF", "D9A336FF", "826F48FF", "2D43B2FF", "162159FF", "E4308AFF",
         "FFED2DFF", "121733FF", "3F4773FF"},
        {"FF4225FF", "731406FF", "E0990BFF", "876D3AFF", "0926B8FF", "05135CFF", "EC0176FF",
         "FFEA00FF", "060A1FFF", "3E4B8CFF"},
        {"F23518FF", "6D0F00FF", "B27700FF", "6B562BFF", "001580FF", "000B40FF", "BB005EFF",
         "FFEA00FF", "01030DFF", "212A59FF"},
    }},
}};

const PaletteTable kVersion1 = {{
    {{
        {"FF98FFFF", "733F73FF", "77B8D9FF", "5F7682FF", "BFB869FF", "605C35FF", "9C78E4FF",
         "FFAB81FF", "2E1938FF", "7A568CFF"},
        {"FFAFFFFF", "734B73FF", "98CFEBFF", "6F838DFF", "D1CB88FF", "696644FF", "BA9CF6FF",
         "FFBE9DFF", "4D3857FF", "8D7499FF"},
        {"FF53FFFF", "731D73FF", "36A3D9FF", "486F82FF", "B2A72DFF", "595416FF", "6C30E4FF",
         "FF732DFF", "281233FF", "613F73FF"},
        {"FF25FFFF", "730673FF", "0B99E0FF", "3A6D87FF", "B8A909FF", "5C5505FF", "4F01ECFF",
         "FF5500FF", "16061FFF", "723E8CFF"},
        {"F218F2FF", "6D006DFF", "0077B2FF", "2B566BFF", "807500FF", "403A00FF", "3E00BBFF",
         "FF5500FF", "09010DFF", "472159FF"},
    }},
    {{
        {"98FFDDFF", "3F7362FF", "D9A877FF", "82705FFF", "6994BFFF", "354A60FF", "78E478FF",
         "FFFF81FF", "193338FF", "56838CFF"},
        {"AFFFE4FF", "4B7365FF", "EBC298FF", "8D7E6FFF", "88ADD1FF", "445669FF", "9CF69CFF",
         "FFFF9DFF", "385257FF", "749399FF"},
        {"53FFC6FF", "1D7356FF", "D98736FF", "826548FF", "2D70B2FF", "163859FF", "30E430FF",
         "FFFF2DFF", "122D33FF", "3F6A73FF"},
        {"25FFB6FF", "06734EFF", "E0760BFF", "87603AFF", "0960B8FF", "05305CFF", "01EC01FF",
         "FFFF00FF", "061B1FFF", "3E7F8CFF"},
        {"18F2AAFF", "006D49FF", "B25900FF", "6B4B2BFF", "004080FF", "002040FF", "00BB00FF",
         "FFFF00FF", "010B0DFF", "215059FF"},
    }},
    {{
        {"98BAFFFF", "3F5073FF", "77D9D9FF", "5F8282FF", "BF6986FF", "603543FF", "7878E4FF",
         "FF81FFFF", "191C38FF", "565B8CFF"},
        {"AFC9FFFF", "4B5873FF", "98EBEBFF", "6F8D8DFF", "D188A0FF", "694450FF", "9C9CF6FF",
         "FF9DFFFF", "383B57FF", "747799FF"},
        {"538CFFFF", "1D3973FF", "36D9D9FF", "488282FF", "B22D59FF", "59162DFF", "3030E4FF",
         "FF2DFFFF", "121533FF", "3F4373FF"},
        {"256EFFFF", "062A73FF", "0BE0E0FF", "3A8787FF", "B80943FF", "5C0522FF", "0101ECFF",
         "FF00FFFF", "06081FFF", "3E448CFF"},
        {"1861F2FF", "00246DFF", "00B2B2FF", "2B6B6BFF", "80002BFF", "400015FF", "0000BBFF",
         "FF00FFFF", "01020DFF", "212659FF"},
    }},
    {{
        {"FFC398FF", "73553FFF", "D97798FF", "825F6BFF", "69B1BFFF", "355860FF", "E48A78FF",
         "FFDF81FF", "192E38FF", "567A8CFF"},
        {"FFD0AFFF", "735B4BFF", "EB98B4FF", "8D6F79FF", "88C5D1FF", "446269FF", "F6AB9CFF",
         "FFE69DFF", "384D57FF", "748D99FF"},
        {"FF9B53FF", "73411DFF", "D9366CFF", "82485BFF", "2D9CB2FF", "164E59FF", "E44E30FF",
         "FFCA2DFF", "122833FF", "3F6173FF"},
        {"FF8025FF", "733306FF", "E00B52FF", "873A53FF", "099BB8FF", "054D5CFF", "EC2801FF",
         "FFBF00FF", "06161FFF", "3E728CFF"},
        {"F27318FF", "6D2D00FF", "B2003CFF", "6B2B40FF", "006A80FF", "003540FF", "BB1F00FF",
         "FFBF00FF", "01090DFF", "214759FF"},
    }},
    {{
        {"CBFF98FF", "59733FFF", "77D9C8FF", "5F827CFF", "9469BFFF", "4A3560FF", "78E48AFF",
         "81D5FFFF", "19382EFF", "568C7AFF"},
        {"D7FFAFFF", "5F734BFF", "98EBDDFF", "6F8D88FF", "AD88D1FF", "564469FF", "9CF6ABFF",
         "9DDEFFFF", "38574DFF", "74998DFF"},
        {"A9FF53FF", "48731DFF", "36D9BEFF", "488278FF", "702DB2FF", "381659FF", "30E44EFF",
         "2DB9FFFF", "123328FF", "3F7361FF"},
        {"92FF25FF", "3C7306FF", "0BE0BDFF", "3A877AFF", "6009B8FF", "30055CFF", "01EC28FF",
         "00AAFFFF", "061F16FF", "3E8C72FF"},
        {"85F218FF", "376D00FF", "00B295FF", "2B6B60FF", "400080FF", "200040FF", "00BB1FFF",
         "00AAFFFF", "010D09FF", "215947FF"},
    }},
}};

const PaletteTable kVersion2 = {{
    {{
        {"FFF698FF", "736E3FFF", "77C8D9FF", "5F7C82FF", "BF69A3FF", "603551FF", "E4AE78FF",
         "81FFEAFF", "192938FF", "56718CFF"},
        {"FFF8AFFF", "736F4BFF", "98DDEBFF", "6F888DFF", "D188B9FF", "69445CFF", "F6C99CFF",
         "9DFFEFFF", "384857FF", "748699FF"},
        {"FFF153FF", "736C1DFF", "36BED9FF", "487882FF", "B22D86FF", "591643FF", "E48A30FF",
         "2DFFDCFF", "122233FF", "3F5973FF"},
        {"FFED25FF", "736A06FF", "0BBDE0FF", "3A7A87FF", "B8097DFF", "5C053FFF", "EC7601FF",
         "00FFD4FF", "06121FFF", "3E658CFF"},
        {"F2E018FF", "6D6400FF", "0095B2FF", "2B606BFF", "800055FF", "40002BFF", "BB5E00FF",
         "00FFD4FF", "01070DFF", "213D59FF"},
    }},
    {{
        {"FF9898FF", "733F3FFF", "77A8D9FF", "5F7082FF", "69BFA3FF", "356051FF", "E478AEFF",
         "FFC081FF", "192E38FF", "567A8CFF"},
        {"FFAFAFFF", "734B4BFF", "98C2EBFF", "6F7E8DFF", "88D1B9FF", "44695CFF", "F69CC9FF",
         "FFCE9DFF", "384D57FF", "748D99FF"},
        {"FF5353FF", "731D1DFF", "3687D9FF", "486582FF", "2DB286FF", "165943FF", "E4308AFF",
         "FF962DFF", "122833FF", "3F6173FF"},
        {"FF2525FF", "730606FF", "0B76E0FF", "3A6087FF", "09B87DFF", "055C3FFF", "EC0176FF",
         "FF8000FF", "06161FFF", "3E728CFF"},
        {"F21818FF", "6D0000FF", "0059B2FF", "2B4B6BFF", "008055FF", "00402AFF", "BB005EFF",
         "FF8000FF", "01090DFF", "214759FF"},
    }},
    {{
        {"CB98FFFF", "593F73FF", "D977B8FF", "825F76FF", "69BFBFFF", "356060FF", "D278E4FF",
         "81D5FFFF", "241938FF", "68568CFF"},
        {"D7AFFFFF", "5F4B73FF", "EB98CFFF", "8D6F83FF", "88D1D1FF", "446969FF", "E79CF6FF",
         "9DDEFFFF", "423857FF", "807499FF"},
        {"A953FFFF", "481D73FF", "D936A3FF", "82486FFF", "2DB2B2FF", "165959FF", "C630E4FF",
         "2DB9FFFF", "1D1233FF", "503F73FF"},
        {"9225FFFF", "3C0673FF", "E00B99FF", "873A6DFF", "09B8B8FF", "055C5CFF", "C401ECFF",
         "00AAFFFF", "0E061FFF", "583E8CFF"},
        {"8518F2FF", "37006DFF", "B20077FF", "6B2B56FF", "008080FF", "004040FF", "9C00BBFF",
         "00AAFFFF", "05010DFF", "342159FF"},
    }},
    {{
        {"98FF98FF", "3F733FFF", "77B8D9FF", "5F7682FF", "BF9B69FF", "604E35FF", "AEE478FF",
         "81FFD5FF", "193838FF", "568C8CFF"},
        {"AFFFAFFF", "4B734BFF", "98CFEBFF", "6F838DFF", "D1B388FF", "695944FF", "C9F69CFF",
         "9DFFDEFF", "385757FF", "749999FF"},
        {"53FF53FF", "1D731DFF", "36A3D9FF", "486F82FF", "B27B2DFF", "593D16FF", "8AE430FF",
         "2DFFB9FF", "123333FF", "3F7373FF"},
        {"25FF25FF", "067306FF", "0B99E0FF", "3A6D87FF", "B86F09FF", "5C3705FF", "76EC01FF",
         "00FFAAFF", "061F1FFF", "3E8C8CFF"},
        {"18F218FF", "006D00FF", "0077B2FF", "2B566BFF", "804A00FF", "402500FF", "5EBB00FF",
         "00FFAAFF", "010D0DFF", "215959FF"},
    }},
    {{
        {"98D4FFFF", "3F5D73FF", "D99077FF", "82685FFF", "A369BFFF", "513560FF", "788AE4FF",
         "FF81ABFF", "192138FF", "56648CFF"},
        {"AFDEFFFF", "4B6273FF", "EBAD98FF", "8D776FFF", "B988D1FF", "5C4469FF", "9CABF6FF",
         "FF9DBEFF", "384057FF", "747D99FF"},
        {"53B7FFFF", "1D4F73FF", "D95F36FF", "825648FF", "862DB2FF", "431659FF", "304EE4FF",
         "FF2D73FF", "121A33FF", "3F4C73FF"},
        {"25A4FFFF", "064573FF", "E0410BFF", "874D3AFF", "7D09B8FF", "3F055CFF", "0128ECFF",
         "FF0055FF", "060C1FFF", "3E518CFF"},
        {"1897F2FF", "00406DFF", "B22D00FF", "6B3B2BFF", "550080FF", "2B0040FF", "001FBBFF",
         "FF0055FF", "01040DFF", "212F59FF"},
    }},
}};

}  // namespace

const PaletteTable& paletteTable(int version) {
    switch (version) {
        case 0:
            return kVersion0;
        case 1:
            return kVersion1;
        default:
            VIZ_ASSERT(version == 2 && "No cubes palettes for this version!");
            return kVersion2;
    }
}

void addPalettes(AbstractColorAnimator::Preset& preset, const PaletteTable& table) {
    const colorf black("000000FF");
    std::vector<AbstractColorAnimator::GroupPalettes>& palettesDefault =
        preset.palettes[DisplayMode::DEFAULT];
    std::vector<AbstractColorAnimator::GroupPalettes>& palettesAOD =
        preset.palettes[DisplayMode::AOD];
    for (const auto& groups : table) {
        AbstractColorAnimator::GroupPalettes entryDefault;
        AbstractColorAnimator::GroupPalettes entryAOD;
        for (size_t g = 0; g < groups.size(); ++g) {
            const auto& row = groups[g];
            for (size_t i = 0; i < kPaletteColors; ++i) {
                entryDefault[g].colors.emplace_back(row[i]);
            }
            entryDefault[g].background = {colorf(row[kPaletteColors]),
                                          colorf(row[kPaletteColors + 1])};
            // The always-on look keeps the colours and drops the background to black, so the
            // panel lights only the cubes.
            entryAOD[g].colors = entryDefault[g].colors;
            entryAOD[g].background = {black, black};
        }
        palettesDefault.push_back(entryDefault);
        palettesAOD.push_back(entryAOD);
    }
}

}  // namespace content2021::cubes
