#include "makedemo/DemoWorksheet.h"

#include "makedemo/DemoInstallation.h"
#include "print/WorksheetSource.h"
#include "text/ItemWriter.h"
#include "tools/SchoolFiles.h"

std::vector<DemoProverb> demoProverbs() {
    return {
        // 1: animals
        {1, {u"猿も", u"木から", u"落ちる"}},
        {1, {u"犬も", u"歩けば", u"棒に当たる"}},
        {1, {u"蛙の", u"子は", u"蛙"}},
        {1, {u"猫の", u"手も", u"借りたい"}},
        {1, {u"馬の", u"耳に", u"念仏"}},
        {1, {u"鳶が", u"鷹を", u"生む"}},
        // 2: birds and beasts
        {2, {u"能ある", u"鷹は", u"爪を隠す"}},
        {2, {u"雀", u"百まで", u"踊り忘れず"}},
        {2, {u"立つ鳥", u"跡を", u"濁さず"}},
        {2, {u"井の中の", u"蛙", u"大海を知らず"}},
        {2, {u"飼い犬に", u"手を", u"噛まれる"}},
        {2, {u"二兎を", u"追う者は", u"一兎をも得ず"}},
        // 3: patience
        {3, {u"石の", u"上にも", u"三年"}},
        {3, {u"塵も", u"積もれば", u"山となる"}},
        {3, {u"千里の", u"道も", u"一歩から"}},
        {3, {u"継続は", u"力", u"なり"}},
        {3, {u"待てば", u"海路の", u"日和あり"}},
        {3, {u"果報は", u"寝て", u"待て"}},
        // 4: care
        {4, {u"石橋を", u"叩いて", u"渡る"}},
        {4, {u"転ばぬ", u"先の", u"杖"}},
        {4, {u"備え", u"あれば", u"憂いなし"}},
        {4, {u"急いては", u"事を", u"仕損じる"}},
        {4, {u"触らぬ", u"神に", u"祟りなし"}},
        {4, {u"火のない所に", u"煙は", u"立たぬ"}},
        // 5: words and people
        {5, {u"口は", u"災いの", u"元"}},
        {5, {u"壁に耳あり", u"障子に", u"目あり"}},
        {5, {u"目は", u"口ほどに", u"物を言う"}},
        {5, {u"人の振り", u"見て", u"我が振り直せ"}},
        {5, {u"情けは", u"人の", u"ためならず"}},
        {5, {u"朱に", u"交われば", u"赤くなる"}},
        // 6: learning
        {6, {u"百聞は", u"一見に", u"如かず"}},
        {6, {u"好きこそ", u"物の", u"上手なれ"}},
        {6, {u"聞くは一時の恥", u"聞かぬは", u"一生の恥"}},
        {6, {u"三人", u"寄れば", u"文殊の知恵"}},
        {6, {u"案ずるより", u"産むが", u"易し"}},
        {6, {u"早起きは", u"三文の", u"徳"}},
        // 7: numbers and time
        {7, {u"二度", u"あることは", u"三度ある"}},
        {7, {u"仏の", u"顔も", u"三度まで"}},
        {7, {u"一寸の虫にも", u"五分の", u"魂"}},
        {7, {u"鬼の", u"居ぬ間に", u"洗濯"}},
        {7, {u"光陰", u"矢の", u"如し"}},
        {7, {u"時は", u"金", u"なり"}},
        // 8: good and bad luck
        {8, {u"笑う", u"門には", u"福来たる"}},
        {8, {u"残り物には", u"福が", u"ある"}},
        {8, {u"雨", u"降って", u"地固まる"}},
        {8, {u"覆水", u"盆に", u"返らず"}},
        {8, {u"出る", u"杭は", u"打たれる"}},
        {8, {u"良薬は", u"口に", u"苦し"}},
    };
}

QString demoWorksheetText() {
    ItemWriter out;
    for (const DemoProverb& proverb : demoProverbs()) {
        out.number(proverb.level);
        for (const char16_t* part : proverb.parts) {
            out.text(QString::fromUtf16(part));
        }
        for (int unused = 0; unused < 3; ++unused) {
            out.text(QString());
        }
        out.number(0);
        out.number(0);
        out.endLine();
    }
    return out.result();
}

bool writeDemoWorksheet(const DemoInstallation& demo, QString* error) {
    return writeSchoolTextFile(demo.programFolder + worksheetSourceName, demoWorksheetText(),
                               error);
}
