// The window's specified handlers, each a one-line delegate to the panel that
// does the work. The connects that call them are in tform1.cpp.
#include "app/tform1.h"

#include "arm/arm_cycle.h"
#include "arm/joint_panel.h"
#include "chassis/drive_panel.h"
#include "chassis/telemetry_panel.h"
#include "comm/link_panel.h"
#include "sequence/sequence_editor.h"
#include "settings/settings_store.h"
#include "views/webcam_panel.h"

#include "ui_tform1.h"

// Arm command cycle: arm::ArmCycle
void TForm1::ServoTimer1Timer() { armCycle->tick(); }

// Joint panels: arm::JointPanel
void TForm1::ShowServoSettings()
{
    for (auto &joint : jointPanels)
        joint->showSettings();
}
void TForm1::cbxKanalServo1Change() { jointPanels[0]->changeChannel(); }
void TForm1::cbxKanalServo2Change() { jointPanels[1]->changeChannel(); }
void TForm1::cbxKanalServo3Change() { jointPanels[2]->changeChannel(); }
void TForm1::cbxKanalServo4Change() { jointPanels[3]->changeChannel(); }
void TForm1::cbxKanalServo5Change() { jointPanels[4]->changeChannel(); }
void TForm1::cbxSpeed1Change() { jointPanels[0]->changeSpeed(); }
void TForm1::cbxSpeed2Change() { jointPanels[1]->changeSpeed(); }
void TForm1::cbxSpeed3Change() { jointPanels[2]->changeSpeed(); }
void TForm1::cbxSpeed4Change() { jointPanels[3]->changeSpeed(); }
void TForm1::cbxSpeed5Change() { jointPanels[4]->changeSpeed(); }
void TForm1::udMin1Click() { jointPanels[0]->stepLowerLimit(); }
void TForm1::udMin2Click() { jointPanels[1]->stepLowerLimit(); }
void TForm1::udMin3Click() { jointPanels[2]->stepLowerLimit(); }
void TForm1::udMin4Click() { jointPanels[3]->stepLowerLimit(); }
void TForm1::udMin5Click() { jointPanels[4]->stepLowerLimit(); }
void TForm1::udMax1Click() { jointPanels[0]->stepUpperLimit(); }
void TForm1::udMax2Click() { jointPanels[1]->stepUpperLimit(); }
void TForm1::udMax3Click() { jointPanels[2]->stepUpperLimit(); }
void TForm1::udMax4Click() { jointPanels[3]->stepUpperLimit(); }
void TForm1::udMax5Click() { jointPanels[4]->stepUpperLimit(); }
void TForm1::trbServo1Change() { jointPanels[0]->applySliderPosition(); }
void TForm1::trbServo2Change() { jointPanels[1]->applySliderPosition(); }
void TForm1::trbServo3Change() { jointPanels[2]->applySliderPosition(); }
void TForm1::trbServo4Change() { jointPanels[3]->applySliderPosition(); }
void TForm1::trbServo5Change() { jointPanels[4]->applySliderPosition(); }
void TForm1::udPos1Click() { jointPanels[0]->stepPosition(); }
void TForm1::udPos2Click() { jointPanels[1]->stepPosition(); }
void TForm1::udPos3Click() { jointPanels[2]->stepPosition(); }
void TForm1::udPos4Click() { jointPanels[3]->stepPosition(); }
void TForm1::udPos5Click() { jointPanels[4]->stepPosition(); }
void TForm1::btnArmParkPosClick()
{
    for (auto &joint : jointPanels)
        joint->park();
}
void TForm1::btnArmMitteClick()
{
    for (auto &joint : jointPanels)
        joint->centre();
}

// Sequence editor: sequence::SequenceEditor
void TForm1::btnSeqNeuClick() { sequenceEditor->newMotionSet(); }
void TForm1::btnSeqOpenClick() { sequenceEditor->openMotionSet(); }
void TForm1::btnSeqCloseClick() { sequenceEditor->saveAndClose(); }
void TForm1::btnSeqAddClick() { sequenceEditor->addStep(); }
void TForm1::btnSeqDelClick() { sequenceEditor->deleteStep(); }
void TForm1::btnSeqForwClick() { sequenceEditor->stepForward(); }
void TForm1::btnSeqRewClick() { sequenceEditor->stepBack(); }
void TForm1::ListBox1Click() { sequenceEditor->showStepNumber(); }

// Settings: settings::SettingsStore
void TForm1::SaveSettings() { settingsStore->save(); }
void TForm1::LoadSettings() { settingsStore->load(); }
void TForm1::Einstellungenspeichern1Click() { settingsStore->offerToSave(); }
// Loading leaves the joint panels alone; the refresh shows what it set.
void TForm1::letzteEinstellungenladen1Click()
{
    LoadSettings();
    ShowServoSettings();
}

// Webcam view: views::WebcamPanel
void TForm1::edtWebCamIP1Change() { webcamPanel->checkOctet(0); }
void TForm1::edtWebCamIP2Change() { webcamPanel->checkOctet(1); }
void TForm1::edtWebCamIP3Change() { webcamPanel->checkOctet(2); }
void TForm1::edtWebCamIP4Change() { webcamPanel->checkOctet(3); }
void TForm1::btnWebCamConnectClick() { webcamPanel->showCamera(); }

// Link panels: comm::LinkPanel
void TForm1::InitLinks()
{
    for (auto &link : linkPanels)
        link->init();
}
void TForm1::FillDeviceNames1() { linkPanels[0]->fillDeviceNames(); }
void TForm1::FillDeviceNames2() { linkPanels[1]->fillDeviceNames(); }
void TForm1::RefreshSerialBoxes1() { linkPanels[0]->refreshSerialBoxes(); }
void TForm1::RefreshSerialBoxes2() { linkPanels[1]->refreshSerialBoxes(); }
void TForm1::OnReceive1(std::string block) { linkPanels[0]->receiveSerial(block); }
void TForm1::OnReceive2(std::string block) { linkPanels[1]->receiveSerial(block); }
void TForm1::rbtnSeriell1Click() { linkPanels[0]->chooseSerial(); }
void TForm1::rbtnSeriell2Click() { linkPanels[1]->chooseSerial(); }
void TForm1::rbtnTCP1Click() { linkPanels[0]->chooseTcp(); }
void TForm1::rbtnTCP2Click() { linkPanels[1]->chooseTcp(); }
void TForm1::cbxDeviceName1Change() { linkPanels[0]->changeDeviceName(); }
void TForm1::cbxDeviceName2Change() { linkPanels[1]->changeDeviceName(); }
void TForm1::cbxBaudRate1Change() { linkPanels[0]->changeBaudRate(); }
void TForm1::cbxBaudRate2Change() { linkPanels[1]->changeBaudRate(); }
void TForm1::cbxByteSize1Change() { linkPanels[0]->changeByteSize(); }
void TForm1::cbxByteSize2Change() { linkPanels[1]->changeByteSize(); }
void TForm1::cbxParity1Change() { linkPanels[0]->changeParity(); }
void TForm1::cbxParity2Change() { linkPanels[1]->changeParity(); }
void TForm1::cbxStopBits1Change() { linkPanels[0]->changeStopBits(); }
void TForm1::cbxStopBits2Change() { linkPanels[1]->changeStopBits(); }
void TForm1::btnConnect1Click() { linkPanels[0]->connectOrDisconnect(); }
void TForm1::btnConnect2Click() { linkPanels[1]->connectOrDisconnect(); }
void TForm1::btnTransmit1Click() { linkPanels[0]->transmitByHand(); }
void TForm1::btnTransmit2Click() { linkPanels[1]->transmitByHand(); }
void TForm1::Transmit_EditKeyDown(int key) { linkPanels[0]->sendOnEnter(key); }
void TForm1::Transmit_Edit2KeyDown(int key) { linkPanels[1]->sendOnEnter(key); }
void TForm1::Transmit_EditEnter() { linkPanels[0]->emptyTransmitEdit(); }
void TForm1::Transmit_Edit2Enter() { linkPanels[1]->emptyTransmitEdit(); }

// TCP link: comm::LinkPanel
void TForm1::ClientSocket1Connecting() { linkPanels[0]->socketConnecting(); }
void TForm1::ClientSocket2Connecting() { linkPanels[1]->socketConnecting(); }
void TForm1::ClientSocket1Connect() { linkPanels[0]->socketConnected(); }
void TForm1::ClientSocket2Connect() { linkPanels[1]->socketConnected(); }
void TForm1::ClientSocket1Disconnect() { linkPanels[0]->socketDisconnected(); }
void TForm1::ClientSocket2Disconnect() { linkPanels[1]->socketDisconnected(); }
void TForm1::ClientSocket1Read() { linkPanels[0]->socketRead(); }
void TForm1::ClientSocket2Read() { linkPanels[1]->socketRead(); }
void TForm1::ClientSocket1Error(int &errorCode) { linkPanels[0]->socketError(errorCode); }
void TForm1::ClientSocket2Error(int &errorCode) { linkPanels[1]->socketError(errorCode); }

// Drive controls and chassis timer: chassis::DrivePanel
void TForm1::setFahrwerkEnabled(bool enabled) { drivePanel->setFahrwerkEnabled(enabled); }
void TForm1::btnVorClick() { drivePanel->setRichtung('v'); }
void TForm1::btnVorMouseDown() { drivePanel->centreSteeringIfDown(ui->btnVor); }
void TForm1::btnRueckClick() { drivePanel->setRichtung('r'); }
void TForm1::btnRueckMouseDown() { drivePanel->centreSteeringIfDown(ui->btnRueck); }
void TForm1::btnStopClick() { drivePanel->stop(); }
void TForm1::btnWende_LClick() { drivePanel->setRichtung('L'); }
void TForm1::btnWende_RClick() { drivePanel->setRichtung('R'); }
void TForm1::btnHupeMouseDown() { drivePanel->setHupe(true); }
void TForm1::btnHupeMouseUp() { drivePanel->setHupe(false); }
void TForm1::btnWarnblinkClick() { drivePanel->followWarnblink(); }
void TForm1::btnLinksMouseDown() { drivePanel->sharpTurnLeft(); }
void TForm1::btnLinksMouseUp() { drivePanel->endSharpTurn(); }
void TForm1::btnRechtsMouseDown() { drivePanel->sharpTurnRight(); }
void TForm1::btnRechtsMouseUp() { drivePanel->endSharpTurn(); }
void TForm1::trbLenkChange() { drivePanel->applySteering(); }
void TForm1::trbSpeedChange() { drivePanel->applySpeed(); }
void TForm1::KettenTimer1Timer() { drivePanel->tick(); }

// Chassis telemetry: chassis::TelemetryPanel
void TForm1::parseFahrwerkAntwort(const std::string &text) { telemetryPanel->parseFahrwerkAntwort(text); }
void TForm1::edtAbstandChange() { telemetryPanel->showDistanceLook(); }
void TForm1::edtBatterieChange() { telemetryPanel->showBatteryLook(); }
void TForm1::edtTemperaturChange() { telemetryPanel->showTemperatureLook(); }
