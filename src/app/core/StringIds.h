#pragma once

// Numbers of the user-visible texts in the language tables (lang/<Language>.lng).
// resources/lang/NUMBERS.md lists every number with its English text.

namespace kx {

// ---- Main window: tooltips and panel labels --------------------------------------------------
// Tooltip of the Open button (open a card, drive or folder).
inline constexpr int kStrTipOpen = 101;
// Tooltip of the Capture button (save snapshots of the playing picture).
inline constexpr int kStrTipCapture = 102;
// Tooltip of the Print button (print the report).
inline constexpr int kStrTipPrint = 105;
// Tooltip of the Setting button; also the title of the settings dialog.
inline constexpr int kStrTipSettings = 106;
// Tooltip of the layout toggle button (video-only layout) and of the Max button.
inline constexpr int kStrTipFullScreen = 107;
// Tooltip of the Min button.
inline constexpr int kStrTipMinimize = 108;
// Tooltip of the About button at start-up.
inline constexpr int kStrTipAbout = 109;
// Label of the time panel, followed by "    mm:ss  /  mm:ss" (position / length).
inline constexpr int kStrLabelPlayTime = 110;
// Play-speed label of the time panel (followed by "   1.00 x"); tooltip of the speed slider.
inline constexpr int kStrLabelPlaySpeed = 111;
// Tooltip of the Front channel-view button.
inline constexpr int kStrTipFront = 112;
// Tooltip of the Rear channel-view button.
inline constexpr int kStrTipRear = 113;
// Tooltip of the All channel-view button (front and rear side by side).
inline constexpr int kStrTipBothChannels = 114;
// Tooltip of the Prev button (previous recording).
inline constexpr int kStrTipPrev = 115;
// Tooltip of the RW button (jump back).
inline constexpr int kStrTipRewind = 116;
// Tooltip of the Play button.
inline constexpr int kStrTipPlay = 117;
// Tooltip of the Pause button.
inline constexpr int kStrTipPause = 118;
// Tooltip of the FF button (jump forward).
inline constexpr int kStrTipFastForward = 119;
// Tooltip of the Next button (next recording).
inline constexpr int kStrTipNext = 120;
// Tooltip of the Speed button (play speed back to 1.0).
inline constexpr int kStrTipNormalSpeed = 121;
// Tooltip of the Bright button (brightness back to the middle).
inline constexpr int kStrTipNormalBrightness = 122;
// Tooltip of the brightness slider.
inline constexpr int kStrTipBrightness = 123;
// Tooltip of the Mute button.
inline constexpr int kStrTipMute = 124;
// Tooltip of the volume bar.
inline constexpr int kStrTipVolume = 125;
// Title of the map area and of the floating map window (50 px); map heading of the report.
inline constexpr int kStrLabelMap = 126;
// Caption before the latitude in the coordinates panels and on the report.
inline constexpr int kStrLabelLatitude = 128;
// Caption before the longitude in the coordinates panels and on the report.
inline constexpr int kStrLabelLongitude = 129;
// Title above the playlist (92 pixels wide, centred).
inline constexpr int kStrLabelFileList = 130;
// Tooltip of the All kind-filter button.
inline constexpr int kStrTipKindAll = 131;
// Tooltip of the About button after the settings dialog was confirmed.
inline constexpr int kStrTipAboutInfo = 198;
// Tooltip of the Zoom button; also the title of the zoom (magnifier) window.
inline constexpr int kStrTipZoom = 208;
// Tooltip of the Close button (end the program).
inline constexpr int kStrTipClose = 209;
// Tooltip of the Merge button (copy the current card recording to the computer).
inline constexpr int kStrTipCopyToPc = 272;

// ---- Playlist: kind texts and column titles --------------------------------------------------
// Kind text of event recordings (EVT) in the playlist; tooltip of the Event filter button.
inline constexpr int kStrKindEvent = 132;
// Kind text of normal recordings (REC) in the playlist; tooltip of the Normal filter button.
inline constexpr int kStrKindNormal = 133;
// Kind text of parking recordings (PRK) in the playlist; tooltip of the Parking filter button.
inline constexpr int kStrKindParking = 134;
// Playlist column title: row number (35 pixels wide).
inline constexpr int kStrColNumber = 135;
// Playlist column title: date; also the date label of the settings dialog's clock group.
inline constexpr int kStrColDate = 136;
// Playlist column title: time; also the time label of the settings dialog's clock group.
inline constexpr int kStrColTime = 137;
// Playlist column title: recording kind.
inline constexpr int kStrColKind = 138;
// Kind text of motion-triggered parking recordings (MDI, MOT) in the playlist.
inline constexpr int kStrKindParkingMotion = 210;

// ---- Message boxes ---------------------------------------------------------------------------
// Yes/no question after a capture, appended directly to the Track1 image path.
inline constexpr int kStrMsgSnapshotSaved = 145;
// OK/Cancel message when the settings dialog is confirmed without a selected card.
inline constexpr int kStrMsgNoCardSelected = 213;
// Yes/no question before a card is formatted.
inline constexpr int kStrMsgConfirmFormat = 235;
// Message when a load found no recording and when the listed card is removed.
inline constexpr int kStrMsgNoRecordings = 251;
// Message when a recording cannot be opened for playing.
inline constexpr int kStrMsgCannotPlay = 266;
// Message when card formatting is refused on this system.
inline constexpr int kStrMsgFormatUnsupported = 277;
// Message when partitioning or formatting the card failed.
inline constexpr int kStrMsgFormatFailed = 278;
// Message when the card has been formatted.
inline constexpr int kStrMsgFormatDone = 279;
// Message when the FAT32 format of the card's data partition could not be started.
inline constexpr int kStrMsgFormatNotStarted = 280;
// Card information view: message when the card has no camera settings file.
inline constexpr int kStrMsgNoSetupFile = 286;
// Card information view: message when the loaded source is not a camera card.
inline constexpr int kStrMsgNotCameraCard = 287;
// Card information view: message when no recordings are loaded.
inline constexpr int kStrMsgNoRecordingsLoaded = 288;

// ---- Start-up and loading notice windows -----------------------------------------------------
// Title of the start-up notice window.
inline constexpr int kStrLoadTitleNotice = 273;
// Start-up notice, first line.
inline constexpr int kStrLoadNoticeLine1 = 274;
// Loading notice, first line.
inline constexpr int kStrLoadLoadingLine1 = 276;
// Start-up notice, second line.
inline constexpr int kStrLoadNoticeLine2 = 281;
// Start-up notice, third line.
inline constexpr int kStrLoadNoticeLine3 = 282;
// Loading notice, second line.
inline constexpr int kStrLoadLoadingLine2 = 283;
// Loading notice, third line.
inline constexpr int kStrLoadLoadingLine3 = 284;
// Title of the loading notice window.
inline constexpr int kStrLoadTitleLoading = 285;

// ---- Settings dialog -------------------------------------------------------------------------
// Caption of the OK button of the settings dialog.
inline constexpr int kStrButtonOk = 103;
// Caption of the Cancel button of the settings dialog.
inline constexpr int kStrButtonCancel = 143;
// Settings dialog: caption of the outer frame.
inline constexpr int kStrSetGroupPreferences = 148;
// Settings dialog: caption of the SD card group.
inline constexpr int kStrSetGroupCard = 149;
// Settings dialog: note in the SD card group.
inline constexpr int kStrSetNoteCard = 150;
// Settings dialog: label before the card list (64 pixels wide, 51 in German).
inline constexpr int kStrSetLabelCard = 151;
// Settings dialog: caption of the Format button (64 pixels wide, 102 in German).
inline constexpr int kStrSetButtonFormat = 152;
// Settings dialog: caption of the impact (event trigger) group.
inline constexpr int kStrSetGroupImpact = 153;
// Settings dialog: note in the impact group.
inline constexpr int kStrSetNoteImpact = 154;
// Settings dialog: first entry of the battery cut-off list (no cut-off).
inline constexpr int kStrSetCutOffOff = 155;
// Settings dialog: impact sensitivity list, entry 7 (level 6).
inline constexpr int kStrSetImpactLevel6 = 156;
// Settings dialog: impact sensitivity list, entry 6 (level 5).
inline constexpr int kStrSetImpactLevel5 = 157;
// Settings dialog: impact sensitivity list, entry 5 (level 4).
inline constexpr int kStrSetImpactLevel4 = 158;
// Settings dialog: impact sensitivity list, entry 4 (level 3, the camera default).
inline constexpr int kStrSetImpactLevel3 = 159;
// Settings dialog: impact sensitivity list, entry 3 (level 2).
inline constexpr int kStrSetImpactLevel2 = 160;
// Settings dialog: impact sensitivity list, entry 2 (level 1).
inline constexpr int kStrSetImpactLevel1 = 161;
// Settings dialog: caption of the motion detection group (unused by the KX480, disabled).
inline constexpr int kStrSetGroupMotion = 163;
// Settings dialog: caption of the video group.
inline constexpr int kStrSetGroupVideo = 168;
// Settings dialog: label of the video quality list.
inline constexpr int kStrSetLabelQuality = 169;
// Settings dialog: video quality list, third entry (the camera default).
inline constexpr int kStrSetQualityHighest = 170;
// Settings dialog: video quality list, second entry.
inline constexpr int kStrSetQualityHigh = 171;
// Settings dialog: video quality list, first entry.
inline constexpr int kStrSetQualityNormal = 172;
// Settings dialog: label of the video channel list.
inline constexpr int kStrSetLabelChannels = 173;
// Settings dialog: channel list, second entry (front and rear camera).
inline constexpr int kStrSetChannelsFrontRear = 174;
// Settings dialog: channel list, first entry (front camera only).
inline constexpr int kStrSetChannelsFront = 175;
// Settings dialog: note in the LCD OFF group.
inline constexpr int kStrSetNoteLcdOff = 176;
// Settings dialog: caption of the parking power-off timer group.
inline constexpr int kStrSetGroupPowerOff = 177;
// Settings dialog: note in the parking power-off group.
inline constexpr int kStrSetNotePowerOff = 178;
// Settings dialog: caption of the sound group.
inline constexpr int kStrSetGroupSound = 179;
// Settings dialog: label of the sound recording check box.
inline constexpr int kStrSetLabelVoiceRec = 180;
// Settings dialog: caption of the sound recording check box.
inline constexpr int kStrSetCheckVoiceRec = 181;
// Settings dialog: label of the speaker volume list.
inline constexpr int kStrSetLabelSpeaker = 182;
// Settings dialog: caption of the car battery group.
inline constexpr int kStrSetGroupBattery = 183;
// Settings dialog: caption of the 12 V system radio button.
inline constexpr int kStrSetRadio12V = 184;
// Settings dialog: caption of the 24 V system radio button.
inline constexpr int kStrSetRadio24V = 185;
// Settings dialog: label of the battery cut-off voltage list.
inline constexpr int kStrSetLabelCutOff = 186;
// Settings dialog: caption of the camera clock group.
inline constexpr int kStrSetGroupClock = 187;
// Settings dialog: caption of the set-the-clock check box (51 pixels wide with its box).
inline constexpr int kStrSetCheckClock = 188;
// Settings dialog: caption of the group of the viewer's own options.
inline constexpr int kStrSetGroupViewer = 189;
// Settings dialog: caption of the snapshot folder group.
inline constexpr int kStrSetGroupSnapshotFolder = 190;
// Settings dialog: note in the snapshot folder group.
inline constexpr int kStrSetNoteSnapshotFolder = 191;
// Settings dialog: label before the snapshot folder field.
inline constexpr int kStrSetLabelFolder = 192;
// Settings dialog: caption of the Browse button of the snapshot folder (96 pixels wide).
inline constexpr int kStrSetButtonBrowse = 193;
// Settings dialog: caption of the jump-seconds group (step of rewind and fast forward).
inline constexpr int kStrSetGroupJump = 194;
// Settings dialog: note in the jump-seconds group.
inline constexpr int kStrSetNoteJump = 195;
// Settings dialog: caption of the Defaults button (86 pixels wide).
inline constexpr int kStrSetButtonDefaults = 196;
// Settings dialog: caption of the rear camera group.
inline constexpr int kStrSetGroupRearCamera = 211;
// Caption of the settings dialog's rear mirror check box; later the rear_mirror tooltip.
inline constexpr int kStrMirrorRear = 212;
// Settings dialog: LCD OFF list, first entry (screen never turned off).
inline constexpr int kStrSetLcdAlwaysOn = 214;
// Settings dialog: LCD OFF list, second entry (the camera default).
inline constexpr int kStrSetLcd10Sec = 215;
// Settings dialog: LCD OFF list, third entry.
inline constexpr int kStrSetLcd30Sec = 216;
// Settings dialog: LCD OFF list, fourth entry.
inline constexpr int kStrSetLcd1Min = 217;
// Settings dialog: LCD OFF list, fifth entry.
inline constexpr int kStrSetLcd3Min = 220;
// Settings dialog: caption of the voice guidance group (unused by the KX480, disabled).
inline constexpr int kStrSetGroupVoiceGuide = 228;
// Settings dialog: voice guidance list, second entry.
inline constexpr int kStrSetVoiceGuideOff = 230;
// Settings dialog: voice guidance list, first entry.
inline constexpr int kStrSetVoiceGuideOn = 232;
// Settings dialog: label of the parking power-off list.
inline constexpr int kStrSetLabelPowerOff = 234;
// Settings dialog: speaker volume list, first entry (no sound).
inline constexpr int kStrSetSpeakerMute = 236;
// Settings dialog: label of the impact sensitivity list.
inline constexpr int kStrSetLabelSensitivity = 241;
// Settings dialog: caption of the security LED group (unused by the KX480, disabled).
inline constexpr int kStrSetGroupSecurityLed = 242;
// Settings dialog: security LED list, first entry.
inline constexpr int kStrSetSecurityLedOn = 243;
// Settings dialog: security LED list, second entry.
inline constexpr int kStrSetSecurityLedOff = 244;
// Settings dialog: caption of the camera model group.
inline constexpr int kStrSetGroupModel = 246;
// Settings dialog: note in the camera model group.
inline constexpr int kStrSetNoteModel = 247;
// Settings dialog: label before the model list.
inline constexpr int kStrSetLabelModel = 248;
// Settings dialog: impact sensitivity list, first entry (no event recording on impact).
inline constexpr int kStrSetImpactOff = 270;

// ---- Printed report --------------------------------------------------------------------------
// Report page 1: section heading, printed as "1. <text>".
inline constexpr int kStrReportVideo = 200;
// Report page 1: sub-heading, printed as "-<text>".
inline constexpr int kStrReportStillImages = 201;
// Report page 1: caption above the front camera image, printed as "-<text>".
inline constexpr int kStrReportFrontCamera = 202;
// Report page 1: caption above the rear camera image, printed as "-<text>".
inline constexpr int kStrReportRearCamera = 203;
// Report page 2: section heading, printed as "2. <text>".
inline constexpr int kStrReportLocation = 204;
// Report page 2: section heading, printed as "3. <text>".
inline constexpr int kStrReportGsensor = 205;
// Report page 2: caption printed alone, then again as "<text> : X = ..., Y = ..., Z = ...".
inline constexpr int kStrReportGsensorValues = 206;
// Name of the print job of the report.
inline constexpr int kStrPrintDocumentName = 57344;

// Every number above, in ascending order; each language table holds exactly these.
inline constexpr int kAllStringIds[] = {
    101, 102, 103, 105, 106, 107, 108, 109, 110, 111, 112, 113, 114, 115, 116, 117, 118, 119, 120,
    121, 122, 123, 124, 125, 126, 128, 129, 130, 131, 132, 133, 134, 135, 136, 137, 138, 143, 145,
    148, 149, 150, 151, 152, 153, 154, 155, 156, 157, 158, 159, 160, 161, 163, 168, 169, 170, 171,
    172, 173, 174, 175, 176, 177, 178, 179, 180, 181, 182, 183, 184, 185, 186, 187, 188, 189, 190,
    191, 192, 193, 194, 195, 196, 198, 200, 201, 202, 203, 204, 205, 206, 208, 209, 210, 211, 212,
    213, 214, 215, 216, 217, 220, 228, 230, 232, 234, 235, 236, 241, 242, 243, 244, 246, 247, 248,
    251, 266, 270, 272, 273, 274, 276, 277, 278, 279, 280, 281, 282, 283, 284, 285, 286, 287, 288,
    57344,
};

// The program's own fixed text, not a language-table entry (103 in the tables is the OK
// caption): the start-up message when the network layer cannot be initialised.
inline constexpr char kTextSocketInitFailed[] = "Windows 소켓을 초기화하지 못했습니다.";

}  // namespace kx
