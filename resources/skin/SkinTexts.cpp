#include "SkinTexts.h"

#include <QStringList>

#include <array>

namespace kx::skinart {
namespace {

using Row = std::array<const char*, 12>;

// Short words: the buttons are 43 pixels wide.
constexpr Row kFront = {"Front", "전방", "Front", "前方", "前方", "Voor", "Avant", "Ant.",
                        "Przód", "Frente", "Перед", "Frontal"};
constexpr Row kRear = {"Rear", "후방", "Heck", "後方", "后方", "Achter", "Arrière", "Post.",
                       "Tył", "Trás", "Зад", "Trasera"};
constexpr Row kBoth = {"Both", "전체", "Beide", "両方", "全部", "Beide", "Les 2", "Tutte",
                       "Oba", "Ambas", "Оба", "Ambas"};
constexpr Row kKindAll = {"All", "전체", "Alle", "すべて", "全部", "Alle", "Tous", "Tutti",
                          "Wszyst.", "Todos", "Все", "Todos"};
constexpr Row kKindEvent = {"Event", "이벤트", "Ereignis", "イベント", "事件", "Gebeurt.",
                            "Évén.", "Evento", "Zdarz.", "Evento", "Событ.", "Evento"};
constexpr Row kKindNormal = {"Normal", "상시", "Dauer", "常時", "常规", "Continu", "Continu",
                             "Continua", "Ciągłe", "Contínuo", "Обычн.", "Continuo"};
constexpr Row kKindParking = {"Parking", "주차", "Parken", "駐車", "停车", "Parkeren",
                              "Parking", "Parcheg.", "Parking", "Estac.", "Парков.", "Aparc."};
constexpr Row kMirror = {"Mirror", "후방 미러", "Mirror", "Mirror", "Mirror", "Mirror",
                         "Mirror", "Mirror", "Mirror", "Mirror", "Mirror", "Mirror"};
constexpr Row kNoConnection = {
    "No internet connection", "인터넷에 연결되어 있지 않습니다", "Keine Internetverbindung",
    "インターネットに接続されていません", "未连接到互联网", "Geen internetverbinding",
    "Pas de connexion Internet", "Nessuna connessione a Internet",
    "Brak połączenia z internetem", "Sem conexão com a Internet", "Нет подключения к Интернету",
    "Sin conexión a Internet"};
constexpr Row kNoGpsData = {
    "No GPS data in this recording", "이 영상에는 GPS 정보가 없습니다",
    "Keine GPS-Daten in dieser Aufnahme", "この録画にはGPSデータがありません", "此录像没有GPS数据",
    "Geen GPS-gegevens in deze opname", "Aucune donnée GPS dans cet enregistrement",
    "Nessun dato GPS in questa registrazione", "Brak danych GPS w tym nagraniu",
    "Sem dados de GPS nesta gravação", "В этой записи нет данных GPS",
    "No hay datos GPS en esta grabación"};

const Row& RowOf(Label label) {
    switch (label) {
        case Label::Front: return kFront;
        case Label::Rear: return kRear;
        case Label::BothChannels: return kBoth;
        case Label::KindAll: return kKindAll;
        case Label::KindEvent: return kKindEvent;
        case Label::KindNormal: return kKindNormal;
        case Label::KindParking: return kKindParking;
        case Label::Mirror: return kMirror;
        case Label::NoConnection: return kNoConnection;
        case Label::NoGpsData: return kNoGpsData;
    }
    return kFront;
}

}  // namespace

QString LabelText(Label label, int languageIndex) {
    if (languageIndex < 0 || languageIndex >= 12) languageIndex = 0;
    return QString::fromUtf8(RowOf(label)[static_cast<std::size_t>(languageIndex)]);
}

QFont LabelFont(int languageIndex, double pixelSize, QFont::Weight weight) {
    // Han characters take the forms of the language they are read in.
    QString first = "Noto Sans";
    if (languageIndex == 1) first = "Noto Sans CJK KR";
    if (languageIndex == 3) first = "Noto Sans CJK JP";
    if (languageIndex == 4) first = "Noto Sans CJK SC";
    QFont font;
    font.setFamilies({first, "Noto Sans CJK KR", "DejaVu Sans"});
    font.setPixelSize(static_cast<int>(pixelSize));
    font.setWeight(weight);
    return font;
}

}  // namespace kx::skinart
