// The playback context menu: for each interface language a command pop-up (with the
// brightness, speed and volume items in sub-menus) and the kind-filter pop-up, carrying the
// menu command ids. Which language's pop-up shows follows the language index.

#include "app/core/PlaybackValues.h"
#include "app/core/ViewerOptions.h"
#include "app/viewer/CDravikViewerDlg.h"

#include <QMenu>

namespace kx {

namespace {

// The texts of one language's pop-ups, in menu order.
struct MenuTexts {
    const char* open;
    const char* playPause;
    const char* previous;
    const char* next;
    const char* brightness;
    const char* darken;
    const char* brighten;
    const char* brightDefault;
    const char* speed;
    const char* fast;
    const char* slow;
    const char* speedDefault;
    const char* volume;
    const char* up;
    const char* down;
    const char* mute;
    const char* list;
    const char* all;
    const char* infinite;
    const char* event;
    const char* parking;
};

// By pop-up position / 2: the menu resource's order of languages (German, English, Korean,
// Japanese, Spanish, French, Italian, Portuguese, Dutch, Polish, Chinese, Russian).
constexpr MenuTexts kMenus[12] = {
    {"Öffnen(Strg+O)", "Wiedergabe/Pause(Leertaste)", "Zurück(Bild auf)", "Weiter(Bild ab)", "Helligkeit",
     "Dunkler", "Heller", "Standard(b)", "Geschwindigkeit", "Schneller", "Langsamer", "Standard(s)", "Lautstärke",
     "Lauter(Pfeil auf)", "Leiser(Pfeil ab)", "Ton an/aus(m)", "Liste", "Alle", "Dauer", "Ereignis", "Parken"},
    {"Open(ctrl+o)", "Play/Pause(space)", "Previous(Page Up)", "Next(Page Down)", "Brightness", "Darken",
     "Brighten", "Default(b)", "Speed", "Fast", "Slow", "Default(s)", "Volume", "Up(Up Key)", "Down(Down Key)",
     "Mute ON/OFF(m)", "List", "All", "Infinite", "Event", "Parking"},
    {"열기(ctrl+o)", "재생/일시정지(space)", "이전(Page Up)", "다음(Page Down)", "밝기", "어둡게", "밝게",
     "기본값(b)", "속도", "빠르게", "느리게", "기본값(s)", "볼륨", "크게(Up Key)", "작게(Down Key)",
     "음소거 켜기/끄기(m)", "목록", "전체", "상시", "이벤트", "주차"},
    {"開く(ctrl+o)", "再生/一時停止(space)", "前へ(Page Up)", "次へ(Page Down)", "明るさ", "暗く", "明るく",
     "標準(b)", "速度", "速く", "遅く", "標準(s)", "音量", "上げる(Up Key)", "下げる(Down Key)",
     "ミュート オン/オフ(m)", "リスト", "すべて", "常時", "イベント", "駐車"},
    {"Abrir(ctrl+o)", "Reproducir/Pausa(espacio)", "Anterior(Re Pág)", "Siguiente(Av Pág)", "Brillo", "Oscurecer",
     "Aclarar", "Predeterminado(b)", "Velocidad", "Rápido", "Lento", "Predeterminado(s)", "Volumen",
     "Subir(Flecha arriba)", "Bajar(Flecha abajo)", "Silencio sí/no(m)", "Lista", "Todo", "Continuo", "Evento",
     "Aparcamiento"},
    {"Ouvrir(ctrl+o)", "Lecture/Pause(espace)", "Précédent(Page préc.)", "Suivant(Page suiv.)", "Luminosité",
     "Assombrir", "Éclaircir", "Par défaut(b)", "Vitesse", "Plus vite", "Plus lent", "Par défaut(s)", "Volume",
     "Monter(Flèche haut)", "Baisser(Flèche bas)", "Muet oui/non(m)", "Liste", "Tout", "Continu", "Événement",
     "Stationnement"},
    {"Apri(ctrl+o)", "Riproduci/Pausa(spazio)", "Precedente(Pag su)", "Successivo(Pag giù)", "Luminosità", "Scurisci",
     "Schiarisci", "Predefinito(b)", "Velocità", "Veloce", "Lento", "Predefinito(s)", "Volume", "Su(Freccia su)",
     "Giù(Freccia giù)", "Muto sì/no(m)", "Elenco", "Tutti", "Continua", "Evento", "Parcheggio"},
    {"Abrir(ctrl+o)", "Reproduzir/Pausa(espaço)", "Anterior(Page Up)", "Seguinte(Page Down)", "Brilho", "Escurecer",
     "Clarear", "Predefinido(b)", "Velocidade", "Rápido", "Lento", "Predefinido(s)", "Volume", "Subir(Seta cima)",
     "Descer(Seta baixo)", "Silêncio sim/não(m)", "Lista", "Todos", "Contínuo", "Evento", "Estacionamento"},
    {"Openen(ctrl+o)", "Afspelen/Pauze(spatie)", "Vorige(Page Up)", "Volgende(Page Down)", "Helderheid", "Donkerder",
     "Lichter", "Standaard(b)", "Snelheid", "Sneller", "Langzamer", "Standaard(s)", "Volume", "Harder(Pijl omhoog)",
     "Zachter(Pijl omlaag)", "Dempen aan/uit(m)", "Lijst", "Alle", "Continu", "Gebeurtenis", "Parkeren"},
    {"Otwórz(ctrl+o)", "Odtwórz/Pauza(spacja)", "Poprzedni(Page Up)", "Następny(Page Down)", "Jasność",
     "Przyciemnij", "Rozjaśnij", "Domyślnie(b)", "Prędkość", "Szybciej", "Wolniej", "Domyślnie(s)", "Głośność",
     "Głośniej(Strzałka w górę)", "Ciszej(Strzałka w dół)", "Wycisz wł./wył.(m)", "Lista", "Wszystkie", "Ciągłe",
     "Zdarzenie", "Parking"},
    {"打开(ctrl+o)", "播放/暂停(space)", "上一个(Page Up)", "下一个(Page Down)", "亮度", "变暗", "变亮",
     "默认(b)", "速度", "快", "慢", "默认(s)", "音量", "增大(Up Key)", "减小(Down Key)", "静音 开/关(m)",
     "列表", "全部", "常时", "事件", "停车"},
    {"Открыть(ctrl+o)", "Воспроизведение/Пауза(пробел)", "Предыдущий(Page Up)", "Следующий(Page Down)",
     "Яркость", "Темнее", "Светлее", "По умолчанию(b)", "Скорость", "Быстрее", "Медленнее", "По умолчанию(s)",
     "Громкость", "Громче(Стрелка вверх)", "Тише(Стрелка вниз)", "Звук вкл./выкл.(m)", "Список", "Все",
     "Непрерывная", "Событие", "Парковка"},
};

QAction* AddItem(QMenu* menu, const char* text, int id) {
    QAction* action = menu->addAction(QString::fromUtf8(text));
    action->setData(id);
    return action;
}

}  // namespace

std::unique_ptr<QMenu> CDravikViewerDlg::BuildContextMenu() const {
    const int position = CommandPopupPosition(TheViewerOptions().languageIndex);
    if (position < 0) return nullptr;
    const MenuTexts& t = kMenus[position / 2];
    auto menu = std::make_unique<QMenu>();
    menu->setObjectName(QString("CommandPopup%1").arg(position));
    AddItem(menu.get(), t.open, cmd::kMenuOpen);
    AddItem(menu.get(), t.playPause, cmd::kMenuPlayPause);
    AddItem(menu.get(), t.previous, cmd::kMenuPrev);
    AddItem(menu.get(), t.next, cmd::kMenuNext);
    menu->addSeparator();
    QMenu* bright = menu->addMenu(QString::fromUtf8(t.brightness));
    AddItem(bright, t.darken, cmd::kMenuDarken);
    AddItem(bright, t.brighten, cmd::kMenuBrighten);
    AddItem(bright, t.brightDefault, cmd::kMenuBrightDefault);
    QMenu* speed = menu->addMenu(QString::fromUtf8(t.speed));
    AddItem(speed, t.fast, cmd::kMenuFaster);
    AddItem(speed, t.slow, cmd::kMenuSlower);
    AddItem(speed, t.speedDefault, cmd::kMenuSpeedDefault);
    QMenu* volume = menu->addMenu(QString::fromUtf8(t.volume));
    AddItem(volume, t.up, cmd::kMenuVolumeUp);
    AddItem(volume, t.down, cmd::kMenuVolumeDown);
    AddItem(volume, t.mute, cmd::kMenuMute);
    // The kind-filter pop-up follows the command pop-up.
    QMenu* kinds = menu->addMenu(QString::fromUtf8(t.list));
    kinds->setObjectName(QString("KindPopup%1").arg(position + 1));
    AddItem(kinds, t.all, cmd::kMenuKindAll);
    AddItem(kinds, t.infinite, cmd::kMenuKindNormal);
    AddItem(kinds, t.event, cmd::kMenuKindEvent);
    AddItem(kinds, t.parking, cmd::kMenuKindParking);
    return menu;
}

void CDravikViewerDlg::ShowContextMenu(const QPoint& globalPos) {
    if (IsOpening()) return;
    const auto menu = BuildContextMenu();
    if (!menu) return;
    if (QAction* chosen = menu->exec(globalPos); chosen && chosen->data().isValid()) OnCommand(chosen->data().toInt());
}

}  // namespace kx
