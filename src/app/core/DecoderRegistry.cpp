#include "app/core/DecoderRegistry.h"

#include "app/core/DebugLog.h"
#include "app/core/Registry.h"

#include <optional>
#include <string>

namespace kx {

namespace {

constexpr std::string_view kWhitelist =
    "3wPlayer.exe;ACDSee10.exe;ACDSee11.exe;ACDSee5.exe;ACDSee6.exe;ACDSee7.exe;ACDSee8.exe;"
    "ACDSee9.exe;ACDSeeQV.exe;AlltoaviV4.exe;ALShow.exe;ALSong.exe;AltDVB.exe;aegisub.exe;"
    "Apollo.exe;ass_help3r.exe;audacity.exe;AudioConverter.exe;AutoGK.exe;avant.exe;AVerTV.exe;"
    "AVerTV6.exe;avi2mpg.exe;avicodec.exe;avidemux2.exe;avidemux2_gtk.exe;avidemux2_qt4.exe;"
    "AVIDrop.exe;AviMux.exe;aviutl.exe;AVSMeter.exe;BearShare.exe;BePipe.exe;bitrate.exe;"
    "BitComet.exe;bsplayer.exe;BSPlayer2.exe;BTVD3DShell.exe;Camtasia.exe;CamtasiaStudio.exe;"
    "CamRecorder.exe;CamPlay.exe;CarDVR.exe;CardViewer.exe;CinemaForge.exe;Cinergy.exe;"
    "CoolEdit.exe;coolpro2.exe;CorePlayer.exe;crystal.exe;CrystalPlayer.exe;CyberLink.exe;"
    "DashCam.exe;DashCamViewer.exe;DivX Player.exe;DivXConverter.exe;DivxToGo.exe;dllhost.exe;"
    "dpgenc.exe;Dr.DivX.exe;DScaler.exe;DSMux.exe;DVBViewer.exe;DVDMaker.exe;dvdvideosoft.exe;"
    "DVRPlayer.exe;DVRViewer.exe;DXEnum.exe;Easy RealMedia Tools.exe;Encode360.exe;explorer.exe;"
    "fenglei.exe;ffmpeg.exe;ffplay.exe;FLVPlayer.exe;FormatFactory.exe;FreeVideoEditor.exe;"
    "FusionHDTV.exe;GOM.exe;GomPlayer.exe;graphedt.exe;GraphStudio.exe;GraphStudioNext.exe;"
    "HBPlayer.exe;HDTVpump.exe;HmxPlayer.exe;i_view32.exe;i_view64.exe;IcarosThumb.exe;"
    "iPodConverter.exe;JetAudio.exe;JetVideo.exe;kmplayer.exe;KMPlayer64.exe;Kodi.exe;"
    "LiteStep.exe;LifeCam.exe;Lilith.exe;mcshield.exe;MediaCenter.exe;MediaMonkey.exe;"
    "MediaPlayerClassic.exe;MediaPortal.exe;MeGUI.exe;mencoder.exe;Miro.exe;mkvmerge.exe;"
    "mkvmergeGUI.exe;Moviemaker.exe;MovieStudio.exe;mpc-hc.exe;mpc-hc64.exe;mpc-be.exe;"
    "mpc-be64.exe;mplayer.exe;mplayer2.exe;MPlayerC.exe;MpcStar.exe;msoobe.exe;msnmsgr.exe;"
    "mv2player.exe;Mv2PlayerPlus.exe;myDVD.exe;NeroHome.exe;NeroShowTime.exe;NeroVision.exe;"
    "Nimo.exe;NVPlayer.exe;Oblivion.exe;OnlineTV.exe;opera.exe;Photoshop.exe;Picasa3.exe;"
    "PicasaPhotoViewer.exe;PowerDirector.exe;PowerDVD.exe;PowerDVD8.exe;PowerDVD9.exe;"
    "PowerDVD10.exe;PowerDVD12.exe;ProgDVB.exe;ProgDvbNet.exe;PVAStrumento.exe;QQMusic.exe;"
    "QQPlayer.exe;QuickTimePlayer.exe;RadLight.exe;RealPlayer.exe;RecordViewer.exe;Riva.exe;"
    "RoxMediaDB.exe;SagePlayer.exe;SageTV.exe;SciTE.exe;ShowTime.exe;Simplayer.exe;SMPlayer.exe;"
    "SopCast.exe;Sonic.exe;SplitCam.exe;StormPlayer.exe;Streamer.exe;SubtitleEdit.exe;"
    "SubtitleWorkshop.exe;SubtitleWorkshop4.exe;Super.exe;SWFPlayer.exe;TMPGEnc.exe;"
    "TMPGEnc4XP.exe;TmpgEncDVDAuthor.exe;TOTALCMD.EXE;TOTALCMD64.EXE;TVPlayer.exe;TVUPlayer.exe;"
    "TVersity.exe;tvtheater.exe;Ultra EDIT.exe;Umplayer.exe;UCC.exe;VCD Cutter.exe;VDub.exe;"
    "VeohClient.exe;VideoCapture.exe;VideoConverter.exe;VideoEditor.exe;VideoInspector.exe;"
    "VideoLAN.exe;VideoSplitter.exe;VideoViewer.exe;VirtualDub.exe;VirtualDub64.exe;"
    "VirtualDubMod.exe;vlc.exe;VSO.exe;WebMediaPlayer.exe;WinAmp.exe;WinDVD.exe;WinDVR.exe;"
    "Winamp3.exe;winav.exe;WinCam.exe;wmenc.exe;wmplayer.exe;wmprph.exe;WMVcopy.exe;XBMC.exe;"
    "Xenon.exe;xmplayer.exe;XnView.exe;xplayer.exe;YahooMessenger.exe;zplayer.exe;"
    "Zoom Player.exe;zplayer2.exe;AIMP.exe;AIMP2.exe;AIMP3.exe;AllPlayer.exe;ALPlayer.exe;"
    "AmarokWin.exe;AnyVideoConverter.exe;ArcSoftMediaConverter.exe;AudioShell.exe;AutoPlay.exe;"
    "Avisynth.exe;AVSPmod.exe;Badaboom.exe;BlazeDVD.exe;BluffTitler.exe;BlackDVR.exe;BoxCam.exe;"
    "CamStudio.exe;CarCamPlayer.exe;ConvertXtoDVD.exe;CyberLinkPDR.exe;DaumPotPlayer.exe;"
    "DivXPlus.exe;DVDFab.exe;DVDShrink.exe;DVDStyler.exe;DriveRecorder.exe;Dxtory.exe;"
    "EasyCap.exe;EditStudio.exe;ElecardPlayer.exe;Fraps.exe;FreeMake.exe;Gspot.exe;HandBrake.exe;"
    "HyperCam.exe;IrfanView.exe;ImgBurn.exe;JRiver.exe;KantarisPlayer.exe;KSPlayer.exe;"
    "LAVSplitter.exe;LightAlloy.exe;MagicDVDRipper.exe;MediaCoder.exe;MediaInfo.exe;"
    "MediaPlayerLite.exe;MixMeister.exe;Movavi.exe;MovieMaker2.exe;MPEGStreamclip.exe;"
    "MultiAVCHD.exe;NeroRecode.exe;NeroShowTime2.exe;NVidiaPureVideo.exe;PotPlayer.exe;"
    "PotPlayerMini.exe;PotPlayerMini64.exe;PowerProducer.exe;Quintessential.exe;"
    "RealAlternative.exe;RecPlayer.exe;ReClock.exe;RipBot264.exe;SmartPixel.exe;SnagIt.exe;"
    "SnagIt32.exe;SonyVegas.exe;StaxRip.exe;SuperC.exe;TheKMPlayer.exe;ThumbsPlus.exe;"
    "TotalVideoPlayer.exe;TVTest.exe;UleadVS.exe;VegasPro.exe;VidCoder.exe;VideoPad.exe;"
    "VideoReDo.exe;VLCPortable.exe;WinX.exe;WinXvid.exe;XMedia.exe;XMediaRecode.exe;XviD4PSP.exe;"
    "ZoomPlayer.exe;Zune.exe;BlackVue.exe;BlackboxPlayer.exe;BlackboxViewer.exe;CarBlackBox.exe;"
    "DashPlayer.exe;DrivePlayer.exe;DrvViewer.exe;EventViewer.exe;GpsPlayer.exe;GpsViewer.exe;"
    "MapPlayer.exe;MultiViewer.exe;ParkingViewer.exe;RoadPlayer.exe;RoadViewer.exe;"
    "SDCardViewer.exe;TrafficPlayer.exe;TripViewer.exe;TwinViewer.exe;VehiclePlayer.exe;"
    "VehicleViewer.exe;CCTVPlayer.exe;CCTVViewer.exe;NVRPlayer.exe;IPCamViewer.exe;"
    "SmartPlayer.exe;SmartViewer.exe;DashboardCameraRecordingViewer.exe;"
    "SecureDigitalCardRecordPlayer.exe;MultiChannelSurveillancePlayer.exe;KX480 Viewer.exe;";

std::optional<RegistryKey> OpenOrCreate(const std::string& path) {
    if (auto key = RegistryKey::Open(RegistryHive::CurrentUser, path)) return key;
    return RegistryKey::Create(RegistryHive::CurrentUser, path);
}

}  // namespace

std::string_view DecoderWhitelist() { return kWhitelist; }

void PrepareDecoderRegistry() {
    const std::string whitelist(kWhitelist);
    auto gnu = RegistryKey::Open(RegistryHive::CurrentUser, "Software\\GNU\\ffdshow");
    if (!gnu) {
        if (!RegistryKey::Open(RegistryHive::CurrentUser, "Software\\GNU"))
            RegistryKey::Create(RegistryHive::CurrentUser, "Software\\GNU");
        gnu = RegistryKey::Create(RegistryHive::CurrentUser, "Software\\GNU\\ffdshow");
    }
    // Each value is tried even when one before it failed.
    bool written = gnu.has_value();
    if (gnu) {
        written &= gnu->SetDword("multipleInstances", 0);
        written &= gnu->SetDword("isWhitelist", 0);
        written &= gnu->SetDword("h264", 1);
        written &= gnu->SetString("whitelist", whitelist);
    }
    const auto kx = OpenOrCreate("Software\\KX\\ffdshow");
    written &= kx && kx->SetString("whitelist", whitelist);
    if (!written) DebugLog("decoder registry values not written to %s",
                           RegistryHivePath(RegistryHive::CurrentUser).c_str());
}

}  // namespace kx
