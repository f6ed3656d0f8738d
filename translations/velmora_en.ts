<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="de">
<context>
    <name>TForm1</name>
    <message>
        <source>Velmora Projekt: Technikerarbeit - Projektteam 2007</source>
        <translation>Velmora Projekt: technician&apos;s project - project team 2007</translation>
    </message>
    <message>
        <source>Bedienkonsole</source>
        <translation>Control console</translation>
    </message>
    <message>
        <source>Basis</source>
        <translation>Base</translation>
    </message>
    <message>
        <source>Kanal</source>
        <translation>Chan.</translation>
    </message>
    <message>
        <source>Servo-Kanal</source>
        <translation>Servo channel</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>Speed/0=AUS</source>
        <translation>Speed/0=OFF</translation>
    </message>
    <message>
        <source>Limit min.</source>
        <translation>Limit min.</translation>
    </message>
    <message>
        <source>Limit minimal</source>
        <translation>Limit minimum</translation>
    </message>
    <message>
        <source>Limit max.</source>
        <translation>Limit max.</translation>
    </message>
    <message>
        <source>Limit maximal</source>
        <translation>Limit maximum</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Schulter</source>
        <translation>Shoulder</translation>
    </message>
    <message>
        <source>Ellenbogen</source>
        <translation>Elbow</translation>
    </message>
    <message>
        <source>Handgel.</source>
        <translation>Wrist</translation>
    </message>
    <message>
        <source>Greifer</source>
        <translation>Gripper</translation>
    </message>
    <message>
        <source>Arm in Park-Position</source>
        <translation>Arm to park position</translation>
    </message>
    <message>
        <source>Arm in Mittelstellung</source>
        <translation>Arm to centre position</translation>
    </message>
    <message>
        <source>Greifarm</source>
        <translation>Gripper arm</translation>
    </message>
    <message>
        <source>so wirken sich Positionsveränderungen am Greifarm aus</source>
        <translation>how position changes act on the gripper arm</translation>
    </message>
    <message>
        <source>Debuggfenster</source>
        <translation>Debug window</translation>
    </message>
    <message>
        <source>Seriell 1 (Greifarm)</source>
        <translation>Serial 1 (gripper arm)</translation>
    </message>
    <message>
        <source>Seriell</source>
        <translation>Serial</translation>
    </message>
    <message>
        <source>Serielle Kabelverbindung herstellen</source>
        <translation>Connect over a serial cable</translation>
    </message>
    <message>
        <source>TCP/IP</source>
        <translation>TCP/IP</translation>
    </message>
    <message>
        <source>Verbindung über TCP/IP via WiPort herstellen</source>
        <translation>Connect over TCP/IP through the WiPort</translation>
    </message>
    <message>
        <source>IP Adresse</source>
        <translation>IP address</translation>
    </message>
    <message>
        <source>IP-Adresse des WiPort im Format a.b.c.d eingeben!</source>
        <translation>Enter the WiPort&apos;s IP address as a.b.c.d!</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Port am WiPort eingeben (10001 oder 10002)</source>
        <translation>Enter the port on the WiPort (10001 or 10002)</translation>
    </message>
    <message>
        <source>Empfangen</source>
        <translation>Received</translation>
    </message>
    <message>
        <source>Sendetext</source>
        <translation>Text to send</translation>
    </message>
    <message>
        <source>Verbinden</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>klicken, um Verbindung aufzubauen</source>
        <translation>click to connect</translation>
    </message>
    <message>
        <source>Senden</source>
        <translation>Send</translation>
    </message>
    <message>
        <source>Daten  manuell senden</source>
        <translation>Send data by hand</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Baud Rate</source>
        <translation>Baud rate</translation>
    </message>
    <message>
        <source>Byte Size</source>
        <translation>Byte size</translation>
    </message>
    <message>
        <source>Parity</source>
        <translation>Parity</translation>
    </message>
    <message>
        <source>Stop Bits</source>
        <translation>Stop bits</translation>
    </message>
    <message>
        <source>Seriell 2 (Fahrwerk)</source>
        <translation>Serial 2 (chassis)</translation>
    </message>
    <message>
        <source>Fahrwerk</source>
        <translation>Chassis</translation>
    </message>
    <message>
        <source>Geschwindigkeit</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>vorwärts - nochmal klicken: Lenkung Mitte</source>
        <translation>forward - click again: steering straight</translation>
    </message>
    <message>
        <source>scharf links</source>
        <translation>sharp left</translation>
    </message>
    <message>
        <source>STOP</source>
        <translation>STOP</translation>
    </message>
    <message>
        <source>scharf rechts</source>
        <translation>sharp right</translation>
    </message>
    <message>
        <source>wenden links herum</source>
        <translation>turn on the spot to the left</translation>
    </message>
    <message>
        <source>rückwärts - nochmal klicken: Lenkung Mitte</source>
        <translation>backward - click again: steering straight</translation>
    </message>
    <message>
        <source>wenden rechts herum</source>
        <translation>turn on the spot to the right</translation>
    </message>
    <message>
        <source>Warnblinken</source>
        <translation>Hazard lights</translation>
    </message>
    <message>
        <source>Hupen</source>
        <translation>Horn</translation>
    </message>
    <message>
        <source>Lenkung</source>
        <translation>Steering</translation>
    </message>
    <message>
        <source>Batterie (V)</source>
        <translation>Battery (V)</translation>
    </message>
    <message>
        <source>Batteriestand</source>
        <translation>Battery level</translation>
    </message>
    <message>
        <source>Temperatur (°C)</source>
        <translation>Temperature (°C)</translation>
    </message>
    <message>
        <source>Temperatur Kühlkörper</source>
        <translation>Heat sink temperature</translation>
    </message>
    <message>
        <source>Abstand nach hinten</source>
        <translation>Distance behind</translation>
    </message>
    <message>
        <source>Abstand (cm)</source>
        <translation>Distance (cm)</translation>
    </message>
    <message>
        <source>Ablaufsteuerung Greifarm</source>
        <translation>Gripper arm sequence</translation>
    </message>
    <message>
        <source>Neuen Verfahrsatz anlegen</source>
        <translation>New motion set</translation>
    </message>
    <message>
        <source>Verfahrsatz öffnen</source>
        <translation>Open motion set</translation>
    </message>
    <message>
        <source>Verfahrsatz: Schritt zurück</source>
        <translation>Motion set: step back</translation>
    </message>
    <message>
        <source>Verfahrsatz: Schritt vorwärts</source>
        <translation>Motion set: step forward</translation>
    </message>
    <message>
        <source>Verfahrsatz speichern und schließen</source>
        <translation>Save and close the motion set</translation>
    </message>
    <message>
        <source>Verfahrsatz: Schritt hinzufügen</source>
        <translation>Motion set: add step</translation>
    </message>
    <message>
        <source>Verfahrsatz: Schritt entfernen</source>
        <translation>Motion set: remove step</translation>
    </message>
    <message>
        <source>Datei...</source>
        <translation>File...</translation>
    </message>
    <message>
        <source>Name des aktuellen Verfahrsatz</source>
        <translation>Name of the current motion set</translation>
    </message>
    <message>
        <source>Verfahrsatz</source>
        <translation>Motion set</translation>
    </message>
    <message>
        <source>Schritt-Nr.</source>
        <translation>Step no.</translation>
    </message>
    <message>
        <source>Nummer des aktuellen Schritts</source>
        <translation>Number of the current step</translation>
    </message>
    <message>
        <source>WebCam IP</source>
        <translation>Webcam IP</translation>
    </message>
    <message>
        <source>IP-Adresse der WebCam im Format a.b.c.d eingeben!</source>
        <translation>Enter the webcam&apos;s IP address as a.b.c.d!</translation>
    </message>
    <message>
        <source>WebCam IP 2</source>
        <translation>Webcam IP 2</translation>
    </message>
    <message>
        <source>WebCam IP 3</source>
        <translation>Webcam IP 3</translation>
    </message>
    <message>
        <source>WebCam IP 4</source>
        <translation>Webcam IP 4</translation>
    </message>
    <message>
        <source>WebCam verbinden</source>
        <translation>Connect webcam</translation>
    </message>
    <message>
        <source>WebCam</source>
        <translation>Webcam</translation>
    </message>
    <message>
        <source>&amp;Datei</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Setup</source>
        <translation>&amp;Setup</translation>
    </message>
    <message>
        <source>&amp;Kommunikation</source>
        <translation>&amp;Communication</translation>
    </message>
    <message>
        <source>&amp;Sprache</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>Se&amp;quenz</source>
        <translation>Se&amp;quence</translation>
    </message>
    <message>
        <source>&amp;Ansicht</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>&amp;Hilfe</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;Telemetrie...</source>
        <translation>&amp;Telemetry...</translation>
    </message>
    <message>
        <source>&amp;Einstellungen speichern</source>
        <translation>&amp;Save settings</translation>
    </message>
    <message>
        <source>letzte Einstellungen &amp;laden</source>
        <translation>&amp;Load last settings</translation>
    </message>
    <message>
        <source>&amp;Beenden</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>Roboter&amp;Arm...</source>
        <translation>Robot &amp;arm...</translation>
    </message>
    <message>
        <source>Roboter&amp;Fahrwerk...</source>
        <translation>Robot &amp;chassis...</translation>
    </message>
    <message>
        <source>&amp;Steuerung...</source>
        <translation>&amp;Driving controls...</translation>
    </message>
    <message>
        <source>&amp;Verbindung suchen...</source>
        <translation>&amp;Find connection...</translation>
    </message>
    <message>
        <source>S&amp;tarten</source>
        <translation>S&amp;tart</translation>
    </message>
    <message>
        <source>&amp;Laden...</source>
        <translation>&amp;Load...</translation>
    </message>
    <message>
        <source>&amp;Erstellen...</source>
        <translation>&amp;New...</translation>
    </message>
    <message>
        <source>&amp;Speichern</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>Speichern &amp;unter...</source>
        <translation>Save &amp;as...</translation>
    </message>
    <message>
        <source>Drucker &amp;einrichten...</source>
        <translation>Printer s&amp;etup...</translation>
    </message>
    <message>
        <source>&amp;Drucken</source>
        <translation>&amp;Print</translation>
    </message>
    <message>
        <source>&amp;Info...</source>
        <translation>&amp;About...</translation>
    </message>
    <message>
        <source>&amp;Kinematik...</source>
        <translation>&amp;Kinematics...</translation>
    </message>
    <message>
        <source>&amp;Arm...</source>
        <translation>&amp;Arm...</translation>
    </message>
    <message>
        <source>&amp;Fernsteuerung...</source>
        <translation>&amp;Remote control...</translation>
    </message>
</context>
<context>
    <name>TInfoForm1</name>
    <message>
        <source>Info über Velmora Projekt 2007</source>
        <translation>About Velmora Projekt 2007</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Fenster schließen</source>
        <translation>Close window</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
</context>
<context>
    <name>TSetupForm1</name>
    <message>
        <source>Setup: Kommunikation RoboterArm</source>
        <translation>Setup: robot arm communication</translation>
    </message>
</context>
<context>
    <name>TSetupForm2</name>
    <message>
        <source>Setup: Kommunikation Fahrwerk</source>
        <translation>Setup: chassis communication</translation>
    </message>
</context>
<context>
    <name>app::KinematicsPad</name>
    <message>
        <source>das Fenster Kinematik ist nicht mehr aktiv</source>
        <translation>the window Kinematics is no longer active</translation>
    </message>
    <message>
        <source>Gamepad abgezogen</source>
        <translation>gamepad unplugged</translation>
    </message>
    <message>
        <source>Stopp-Knopf B</source>
        <translation>stop button B</translation>
    </message>
    <message>
        <source>Totmannschalter losgelassen</source>
        <translation>dead-man switch released</translation>
    </message>
</context>
<context>
    <name>app::LanguageMenu</name>
    <message>
        <source>Die gewählte Sprache gilt ab dem nächsten Start des Programms.</source>
        <translation>The chosen language takes effect the next time the program starts.</translation>
    </message>
</context>
<context>
    <name>app::TForm1</name>
    <message>
        <source>Programm beendet</source>
        <translation>program closed</translation>
    </message>
</context>
<context>
    <name>arm::ArmProfile</name>
    <message>
        <source>Sockelhöhe</source>
        <translation>Base height</translation>
    </message>
    <message>
        <source>Oberarm</source>
        <translation>Upper arm</translation>
    </message>
    <message>
        <source>Unterarm</source>
        <translation>Forearm</translation>
    </message>
    <message>
        <source>Hand</source>
        <translation>Hand</translation>
    </message>
    <message>
        <source>%1 Punkt %2 (µs)</source>
        <translation>%1 point %2 (µs)</translation>
    </message>
    <message>
        <source>%1 Punkt %2 (mm)</source>
        <translation>%1 point %2 (mm)</translation>
    </message>
    <message>
        <source>%1 Punkt %2 (°)</source>
        <translation>%1 point %2 (°)</translation>
    </message>
    <message>
        <source>%1: keine gültige Zahl</source>
        <translation>%1: not a valid number</translation>
    </message>
    <message>
        <source>%1: muss größer als 0 mm sein</source>
        <translation>%1: must be more than 0 mm</translation>
    </message>
    <message>
        <source>%1: beide Punkte haben dieselbe Pulsbreite</source>
        <translation>%1: both points have the same pulse width</translation>
    </message>
    <message>
        <source>%1: beide Punkte haben dieselbe Öffnung</source>
        <translation>%1: both points have the same opening</translation>
    </message>
    <message>
        <source>%1: beide Punkte haben denselben Winkel</source>
        <translation>%1: both points have the same angle</translation>
    </message>
    <message>
        <source>%1: fehlt</source>
        <translation>%1: missing</translation>
    </message>
</context>
<context>
    <name>arm::ArmSetupWindow</name>
    <message>
        <source>Setup: Arm</source>
        <translation>Setup: Arm</translation>
    </message>
    <message>
        <source>Zustand</source>
        <translation>State</translation>
    </message>
    <message>
        <source>Abmessungen (mm)</source>
        <translation>Dimensions (mm)</translation>
    </message>
    <message>
        <source>%1:</source>
        <translation>%1:</translation>
    </message>
    <message>
        <source>Kalibrierung: zwei Punkte je Gelenk (Winkel in °, Greifer in mm)</source>
        <translation>Calibration: two points per joint (angles in °, gripper in mm)</translation>
    </message>
    <message>
        <source>Punkt %1 (µs)</source>
        <translation>Point %1 (µs)</translation>
    </message>
    <message>
        <source>Punkt %1 (Wert)</source>
        <translation>Point %1 (value)</translation>
    </message>
    <message>
        <source>Aktuelle Position übernehmen</source>
        <translation>Take current position</translation>
    </message>
    <message>
        <source>%1 Punkt %2: Aktuelle Position übernehmen</source>
        <translation>%1 point %2: take current position</translation>
    </message>
    <message>
        <source>Ü&amp;bernehmen</source>
        <translation>&amp;Apply</translation>
    </message>
    <message>
        <source>Profil e&amp;xportieren...</source>
        <translation>E&amp;xport profile...</translation>
    </message>
    <message>
        <source>Profil &amp;importieren...</source>
        <translation>&amp;Import profile...</translation>
    </message>
    <message>
        <source>Profil übernommen</source>
        <translation>Profile applied</translation>
    </message>
    <message>
        <source>%1 – das bisherige Profil gilt weiter</source>
        <translation>%1 – the profile in force stays</translation>
    </message>
    <message>
        <source>Armprofile (*.arm)</source>
        <translation>Arm profiles (*.arm)</translation>
    </message>
    <message>
        <source>Alle (*)</source>
        <translation>All (*)</translation>
    </message>
    <message>
        <source>Profil exportieren</source>
        <translation>Export profile</translation>
    </message>
    <message>
        <source>Profil exportiert: %1</source>
        <translation>Profile exported: %1</translation>
    </message>
    <message>
        <source>Profil importieren</source>
        <translation>Import profile</translation>
    </message>
    <message>
        <source>Profil importiert: %1</source>
        <translation>Profile imported: %1</translation>
    </message>
</context>
<context>
    <name>arm::ArmView</name>
    <message>
        <source>Seitenansicht</source>
        <translation>Side view</translation>
    </message>
    <message>
        <source>Draufsicht</source>
        <translation>Top view</translation>
    </message>
    <message>
        <source>Seitenansicht (Reichweite gegen Höhe)</source>
        <translation>Side view (reach against height)</translation>
    </message>
    <message>
        <source>Draufsicht (x nach oben, y nach links)</source>
        <translation>Top view (x up, y to the left)</translation>
    </message>
</context>
<context>
    <name>arm::Joint</name>
    <message>
        <source>Basis</source>
        <translation>Base</translation>
    </message>
    <message>
        <source>Schulter</source>
        <translation>Shoulder</translation>
    </message>
    <message>
        <source>Ellenbogen</source>
        <translation>Elbow</translation>
    </message>
    <message>
        <source>Handgelenk</source>
        <translation>Wrist</translation>
    </message>
    <message>
        <source>Greifer</source>
        <translation>Gripper</translation>
    </message>
</context>
<context>
    <name>arm::JointPanel</name>
    <message>
        <source>Fehler: Servo-Kanal wird schon benutzt!
Wählen Sie einen anderen Kanal!</source>
        <translation>Error: the servo channel is already in use!
Choose another channel!</translation>
    </message>
</context>
<context>
    <name>arm::Kinematics</name>
    <message>
        <source>Ziel außerhalb der Reichweite</source>
        <translation>Target out of reach</translation>
    </message>
    <message>
        <source>Ziel unter der Tischebene</source>
        <translation>Target below the table</translation>
    </message>
    <message>
        <source>%1: Grenze überschritten</source>
        <translation>%1: limit exceeded</translation>
    </message>
</context>
<context>
    <name>arm::KinematicsWindow</name>
    <message>
        <source>Radius (mm)</source>
        <translation>Radius (mm)</translation>
    </message>
    <message>
        <source>Radius</source>
        <translation>Radius</translation>
    </message>
    <message>
        <source>Winkel (°)</source>
        <translation>Angle (°)</translation>
    </message>
    <message>
        <source>Winkel</source>
        <translation>Angle</translation>
    </message>
    <message>
        <source>Höhe (mm)</source>
        <translation>Height (mm)</translation>
    </message>
    <message>
        <source>Höhe</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>Neigung (°)</source>
        <translation>Pitch (°)</translation>
    </message>
    <message>
        <source>Neigung</source>
        <translation>Pitch</translation>
    </message>
    <message>
        <source>Greifer (mm)</source>
        <translation>Gripper (mm)</translation>
    </message>
    <message>
        <source>Greifer</source>
        <translation>Gripper</translation>
    </message>
    <message>
        <source>kartesisch</source>
        <translation>Cartesian</translation>
    </message>
    <message>
        <source>zylindrisch</source>
        <translation>cylindrical</translation>
    </message>
    <message>
        <source>&amp;Anfahren</source>
        <translation>&amp;Go to target</translation>
    </message>
    <message>
        <source>S&amp;topp</source>
        <translation>S&amp;top</translation>
    </message>
    <message>
        <source>Kinematik</source>
        <translation>Kinematics</translation>
    </message>
    <message>
        <source>Zustand</source>
        <translation>State</translation>
    </message>
    <message>
        <source>Position und Ziel</source>
        <translation>Position and target</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Ziel</source>
        <translation>Target</translation>
    </message>
    <message>
        <source>&amp;Bahngeschwindigkeit (mm/s)</source>
        <translation>Path &amp;speed (mm/s)</translation>
    </message>
    <message>
        <source>Tippen</source>
        <translation>Jog</translation>
    </message>
    <message>
        <source>Ein Tippen bewegt so weit; Neigung und Winkel um so viele Grad</source>
        <translation>One jog moves this far; pitch and angle by as many degrees</translation>
    </message>
    <message>
        <source>&amp;Schrittweite</source>
        <translation>Step &amp;width</translation>
    </message>
    <message>
        <source>Stopp</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Fährt</source>
        <translation>Moving</translation>
    </message>
    <message>
        <source>Ziel erreicht</source>
        <translation>Target reached</translation>
    </message>
    <message>
        <source>Angehalten: %1</source>
        <translation>Stopped: %1</translation>
    </message>
    <message>
        <source>%1, Position</source>
        <translation>%1, position</translation>
    </message>
</context>
<context>
    <name>arm::MoveExecutor</name>
    <message>
        <source>Der Ablauf spielt</source>
        <translation>The motion set is playing</translation>
    </message>
    <message>
        <source>Verbindung 1 (Greifarm) ist nicht verbunden</source>
        <translation>Connection 1 (gripper arm) is not open</translation>
    </message>
    <message>
        <source>Verbindung 1 (Greifarm) getrennt</source>
        <translation>connection 1 (gripper arm) closed</translation>
    </message>
    <message>
        <source>Profil geändert</source>
        <translation>profile changed</translation>
    </message>
    <message>
        <source>von einer neuen Bewegung abgelöst</source>
        <translation>taken over by a new move</translation>
    </message>
    <message>
        <source>%1 wurde anderweitig verstellt</source>
        <translation>%1 was moved by something else</translation>
    </message>
</context>
<context>
    <name>arm::Servo</name>
    <message>
        <source>Fehler: pKanal falsch!</source>
        <translation>Error: pKanal out of range!</translation>
    </message>
    <message>
        <source>Fehler: pLimitMin falsch!</source>
        <translation>Error: pLimitMin out of range!</translation>
    </message>
    <message>
        <source>Fehler: pLimitMax falsch!</source>
        <translation>Error: pLimitMax out of range!</translation>
    </message>
    <message>
        <source>Fehler: pPosition falsch!!</source>
        <translation>Error: pPosition out of range!!</translation>
    </message>
    <message>
        <source>Fehler: Speed zu groß!</source>
        <translation>Error: speed too high!</translation>
    </message>
</context>
<context>
    <name>arm::Ssc32</name>
    <message>
        <source>Lynxmotion SSC32 am WiPort gefunden!</source>
        <translation>Lynxmotion SSC32 found on the WiPort!</translation>
    </message>
</context>
<context>
    <name>comm::Connection</name>
    <message>
        <source>Verbindung %1: Warten auf die Wiederherstellung beendet</source>
        <translation>Connection %1: no longer waiting to reconnect</translation>
    </message>
    <message>
        <source>Verbindung %1 wiederhergestellt</source>
        <translation>Connection %1 restored</translation>
    </message>
    <message>
        <source>Verbindung %1 unterbrochen; sie wird automatisch wiederhergestellt</source>
        <translation>Connection %1 interrupted; it will be restored automatically</translation>
    </message>
    <message>
        <source>%1 Client %2: Daten empfangen</source>
        <translation>%1 Client %2: data received</translation>
    </message>
</context>
<context>
    <name>comm::ConnectionSearchWindow</name>
    <message>
        <source>SSC-32 (Greifarm)</source>
        <translation>SSC-32 (gripper arm)</translation>
    </message>
    <message>
        <source>Fahrwerk</source>
        <translation>Chassis</translation>
    </message>
    <message>
        <source>keine Antwort</source>
        <translation>no answer</translation>
    </message>
    <message>
        <source>belegt</source>
        <translation>in use</translation>
    </message>
    <message>
        <source>kein Zugriff (Gruppe dialout)</source>
        <translation>no access (group dialout)</translation>
    </message>
    <message>
        <source>nicht erreichbar</source>
        <translation>unreachable</translation>
    </message>
    <message>
        <source>Fehler: %1</source>
        <translation>Error: %1</translation>
    </message>
    <message>
        <source>%1, %2 Baud</source>
        <translation>%1, %2 baud</translation>
    </message>
    <message>
        <source>&amp;Suchen</source>
        <translation>&amp;Search</translation>
    </message>
    <message>
        <source>Ü&amp;bernehmen</source>
        <translation>&amp;Apply</translation>
    </message>
    <message>
        <source>Verbindung suchen</source>
        <translation>Find connection</translation>
    </message>
    <message>
        <source>Gerätenamen, die das System nicht aufführt (z. B. Pseudo-Terminals), getrennt durch Leerzeichen oder Kommas</source>
        <translation>Device names the system does not list (e.g. pseudo-terminals), separated by spaces or commas</translation>
    </message>
    <message>
        <source>Adressen von WiPorts, getrennt durch Leerzeichen oder Kommas; versucht werden die Ports 10001 und 10002, oder der mit „Adresse:Port“ genannte</source>
        <translation>Addresses of WiPorts, separated by spaces or commas; ports 10001 and 10002 are tried, or the one given as &quot;address:port&quot;</translation>
    </message>
    <message>
        <source>z. B. 192.168.100.100</source>
        <translation>e.g. 192.168.100.100</translation>
    </message>
    <message>
        <source>Gefundene Geräte</source>
        <translation>Devices found</translation>
    </message>
    <message>
        <source>Gerät</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>Ergebnis</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>Baud Rate</source>
        <translation>Baud rate</translation>
    </message>
    <message>
        <source>Zustand</source>
        <translation>State</translation>
    </message>
    <message>
        <source>Das Gefundene in die Verbindungen 1 und 2 eintragen, ohne zu verbinden</source>
        <translation>Enter what was found into connections 1 and 2, without connecting</translation>
    </message>
    <message>
        <source>Weitere &amp;Geräte:</source>
        <translation>More &amp;devices:</translation>
    </message>
    <message>
        <source>&amp;TCP-Adressen:</source>
        <translation>&amp;TCP addresses:</translation>
    </message>
    <message>
        <source>Verbindung %1 automatisch wiederherstellen</source>
        <translation>Restore connection %1 automatically</translation>
    </message>
    <message>
        <source>Geht die offene Verbindung verloren, wird sie wieder aufgebaut, sobald das Gerät zurück ist</source>
        <translation>If the open connection is lost, it is set up again as soon as the device is back</translation>
    </message>
    <message>
        <source>wird geprüft...</source>
        <translation>checking...</translation>
    </message>
    <message>
        <source>Suche läuft...</source>
        <translation>Searching...</translation>
    </message>
    <message>
        <source>%1 an %2</source>
        <translation>%1 at %2</translation>
    </message>
    <message>
        <source>Keine Steuerung gefunden.</source>
        <translation>No controller found.</translation>
    </message>
    <message>
        <source>Gefunden: %1.</source>
        <translation>Found: %1.</translation>
    </message>
    <message>
        <source>Verbindung %1: %2</source>
        <translation>Connection %1: %2</translation>
    </message>
    <message>
        <source>Verbindung %1 ist in Gebrauch und bleibt, wie sie ist</source>
        <translation>Connection %1 is in use and stays as it is</translation>
    </message>
    <message>
        <source>%1. Mit „Verbinden“ bauen Sie die Verbindung auf.</source>
        <translation>%1. Click &quot;Connect&quot; to connect.</translation>
    </message>
</context>
<context>
    <name>comm::LinkPanel</name>
    <message>
        <source>&apos;%1&apos; ist kein gültiger Integerwert</source>
        <translation>&apos;%1&apos; is not a valid integer value</translation>
    </message>
    <message>
        <source>Der Port %1 liegt nicht zwischen %2 und %3.</source>
        <translation>Port %1 is not between %2 and %3.</translation>
    </message>
    <message>
        <source>Ihr Benutzerkonto darf die Schnittstelle nicht öffnen: Es muss zur Gruppe dialout gehören. Mit „sudo usermod -aG dialout $USER“ nehmen Sie es auf; das gilt ab der nächsten Anmeldung.</source>
        <translation>Your user account may not open the port: it must belong to the group dialout. &quot;sudo usermod -aG dialout $USER&quot; adds it; this takes effect at your next login.</translation>
    </message>
    <message>
        <source>klicken, um TCP-Verbindung zu trennen</source>
        <translation>click to close the TCP connection</translation>
    </message>
    <message>
        <source>Verbinden</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>klicken, um Verbindung aufzubauen</source>
        <translation>click to connect</translation>
    </message>
    <message>
        <source>warten...</source>
        <translation>waiting...</translation>
    </message>
    <message>
        <source>Trennen</source>
        <translation>Disconnect</translation>
    </message>
    <message>
        <source>TCP aktiv</source>
        <translation>TCP active</translation>
    </message>
    <message>
        <source>klicken, um serielle Verbindung zu trennen</source>
        <translation>click to close the serial connection</translation>
    </message>
    <message>
        <source>unterbrochen</source>
        <translation>interrupted</translation>
    </message>
    <message>
        <source>Die Verbindung ist unterbrochen und wird automatisch wiederhergestellt; klicken, um nicht länger zu warten</source>
        <translation>The connection is interrupted and will be restored automatically; click to stop waiting</translation>
    </message>
    <message>
        <source>Die serielle Schnittstelle %1 konnte nicht geöffnet werden:
%2

%3</source>
        <translation>The serial port %1 could not be opened:
%2

%3</translation>
    </message>
    <message>
        <source>Die serielle Schnittstelle %1 konnte nicht geöffnet werden:
%2</source>
        <translation>The serial port %1 could not be opened:
%2</translation>
    </message>
    <message>
        <source>Die Verbindung über %1 ist abgebrochen.</source>
        <translation>The connection over %1 was lost.</translation>
    </message>
    <message>
        <source>Die Verbindung konnte nicht hergestellt werden!
Prüfen Sie die Netzwerkeinstellungen und das WiPort!</source>
        <translation>The connection could not be established!
Check the network settings and the WiPort!</translation>
    </message>
</context>
<context>
    <name>comm::SerialLink</name>
    <message>
        <source>kein serielles Gerät</source>
        <translation>not a serial device</translation>
    </message>
</context>
<context>
    <name>comm::TcpLink</name>
    <message>
        <source>Zeitüberschreitung beim Verbindungsaufbau</source>
        <translation>Timed out while connecting</translation>
    </message>
</context>
<context>
    <name>drive::DriveSetupWindow</name>
    <message>
        <source>Linker Stick links/rechts</source>
        <translation>Left stick left/right</translation>
    </message>
    <message>
        <source>Linker Stick vor/zurück</source>
        <translation>Left stick forward/back</translation>
    </message>
    <message>
        <source>Rechter Trigger</source>
        <translation>Right trigger</translation>
    </message>
    <message>
        <source>Totmannschalter: fahren nur, solange der rechte Trigger gedrückt ist</source>
        <translation>Dead-man switch: drive only while the right trigger is pressed</translation>
    </message>
    <message>
        <source>Setup: Steuerung</source>
        <translation>Setup: Driving controls</translation>
    </message>
    <message>
        <source>Auslenkung der Sticks um die Mitte, die als Ruhe gilt</source>
        <translation>Deflection of the sticks around the centre that counts as rest</translation>
    </message>
    <message>
        <source>Tempo der Tasten W, S, A, D, solange der Geschwindigkeitsregler auf 0 steht</source>
        <translation>Speed of the keys W, S, A, D while the speed slider stands at 0</translation>
    </message>
    <message>
        <source>Zustand</source>
        <translation>State</translation>
    </message>
    <message>
        <source>Gamepad:</source>
        <translation>Gamepad:</translation>
    </message>
    <message>
        <source>Linker Stick links/rechts:</source>
        <translation>Left stick left/right:</translation>
    </message>
    <message>
        <source>Linker Stick vor/zurück:</source>
        <translation>Left stick forward/back:</translation>
    </message>
    <message>
        <source>Rechter Trigger:</source>
        <translation>Right trigger:</translation>
    </message>
    <message>
        <source>&amp;Totzone:</source>
        <translation>Dead &amp;zone:</translation>
    </message>
    <message>
        <source>Tasten&amp;geschwindigkeit:</source>
        <translation>&amp;Key speed:</translation>
    </message>
    <message>
        <source>linker Stick nach vorn</source>
        <translation>left stick forward</translation>
    </message>
    <message>
        <source>vorwärts (Tempo: Regler bzw. Auslenkung)</source>
        <translation>forward (speed: slider or deflection)</translation>
    </message>
    <message>
        <source>linker Stick nach hinten</source>
        <translation>left stick back</translation>
    </message>
    <message>
        <source>rückwärts (ebenso)</source>
        <translation>backward (likewise)</translation>
    </message>
    <message>
        <source>linker Stick links/rechts</source>
        <translation>left stick left/right</translation>
    </message>
    <message>
        <source>lenken, Mitte: geradeaus</source>
        <translation>steer, centre: straight on</translation>
    </message>
    <message>
        <source>linke Schultertaste</source>
        <translation>left shoulder button</translation>
    </message>
    <message>
        <source>scharf links; im Stand: auf der Stelle drehen</source>
        <translation>sharp left; at a standstill: turn on the spot</translation>
    </message>
    <message>
        <source>rechte Schultertaste</source>
        <translation>right shoulder button</translation>
    </message>
    <message>
        <source>scharf rechts; im Stand: auf der Stelle drehen</source>
        <translation>sharp right; at a standstill: turn on the spot</translation>
    </message>
    <message>
        <source>hupen, solange gehalten</source>
        <translation>horn while held</translation>
    </message>
    <message>
        <source>STOP: Richtung Stopp, Geschwindigkeit 0</source>
        <translation>STOP: direction stop, speed 0</translation>
    </message>
    <message>
        <source>rechter Trigger</source>
        <translation>right trigger</translation>
    </message>
    <message>
        <source>Totmannschalter: über die Hälfte gedrückt halten</source>
        <translation>dead-man switch: hold pressed more than halfway</translation>
    </message>
    <message>
        <source>Tastenbelegung</source>
        <translation>Key assignment</translation>
    </message>
    <message>
        <source>Tastatur</source>
        <translation>Keyboard</translation>
    </message>
    <message>
        <source>Gamepad</source>
        <translation>Gamepad</translation>
    </message>
    <message>
        <source>Wirkung</source>
        <translation>Effect</translation>
    </message>
    <message>
        <source>kein Gamepad gefunden</source>
        <translation>no gamepad found</translation>
    </message>
</context>
<context>
    <name>drive::ManualDrive</name>
    <message>
        <source>Leertaste</source>
        <translation>Space</translation>
    </message>
    <message>
        <source>kein Fenster des Programms ist mehr aktiv</source>
        <translation>no window of the program is active any more</translation>
    </message>
    <message>
        <source>ein anderes Fenster wurde aktiv</source>
        <translation>another window became active</translation>
    </message>
    <message>
        <source>Verbindung 2 (Fahrwerk) getrennt</source>
        <translation>connection 2 (chassis) closed</translation>
    </message>
    <message>
        <source>das Gamepad bewegt den Greifarm</source>
        <translation>the gamepad moves the gripper arm</translation>
    </message>
    <message>
        <source>Totmannschalter umgestellt</source>
        <translation>dead-man switch changed</translation>
    </message>
    <message>
        <source>Gamepad abgezogen</source>
        <translation>gamepad unplugged</translation>
    </message>
    <message>
        <source>Stopp-Knopf B</source>
        <translation>stop button B</translation>
    </message>
    <message>
        <source>Totmannschalter losgelassen</source>
        <translation>dead-man switch released</translation>
    </message>
    <message>
        <source>Angehalten: %1</source>
        <translation>Stopped: %1</translation>
    </message>
    <message>
        <source>Fährt mit dem Gamepad</source>
        <translation>Driving with the gamepad</translation>
    </message>
    <message>
        <source>Fährt mit der Tastatur</source>
        <translation>Driving with the keyboard</translation>
    </message>
    <message>
        <source>Wartet: Verbindung 2 (Fahrwerk) ist nicht verbunden</source>
        <translation>Waiting: connection 2 (chassis) is not open</translation>
    </message>
    <message>
        <source>Wartet: kein Fenster des Programms ist aktiv</source>
        <translation>Waiting: no window of the program is active</translation>
    </message>
    <message>
        <source>Bereit: zum Fahren den rechten Trigger halten</source>
        <translation>Ready: hold the right trigger to drive</translation>
    </message>
    <message>
        <source>Bereit</source>
        <translation>Ready</translation>
    </message>
</context>
<context>
    <name>platform::AtomicFile</name>
    <message>
        <source>keine gewöhnliche Datei</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>Die Datei ist zu groß.</source>
        <translation>The file is too large.</translation>
    </message>
    <message>
        <source>Unbekannter Fehler</source>
        <translation>Unknown error</translation>
    </message>
    <message>
        <source>Die Datei &quot;%1&quot; konnte nicht geschrieben werden:
%2</source>
        <translation>The file &quot;%1&quot; could not be written:
%2</translation>
    </message>
    <message>
        <source>Die Datei &quot;%1&quot; konnte nicht gelesen werden:
%2</source>
        <translation>The file &quot;%1&quot; could not be read:
%2</translation>
    </message>
</context>
<context>
    <name>remote::ModelConsole</name>
    <message>
        <source>Vom Programm gestoppt</source>
        <translation>stopped by a program</translation>
    </message>
</context>
<context>
    <name>remote::RemoteSetupWindow</name>
    <message>
        <source>%1 – fährt</source>
        <translation>%1 – driving</translation>
    </message>
    <message>
        <source>Fernsteuerung: 1 Programm verbunden</source>
        <translation>Remote control: 1 program connected</translation>
    </message>
    <message>
        <source>Fernsteuerung: %1 Programme verbunden</source>
        <translation>Remote control: %1 programs connected</translation>
    </message>
    <message>
        <source>Setup: Fernsteuerung</source>
        <translation>Setup: Remote control</translation>
    </message>
    <message>
        <source>Fernsteuerung &amp;erlauben</source>
        <translation>&amp;Allow remote control</translation>
    </message>
    <message>
        <source>Andere Programme dürfen den Roboter über diese Konsole steuern</source>
        <translation>Other programs may control the robot through this console</translation>
    </message>
    <message>
        <source>nur &amp;dieser Rechner</source>
        <translation>&amp;this computer only</translation>
    </message>
    <message>
        <source>Nur Programme auf diesem Rechner (127.0.0.1 und ::1)</source>
        <translation>Only programs on this computer (127.0.0.1 and ::1)</translation>
    </message>
    <message>
        <source>alle &amp;Netzwerke</source>
        <translation>all &amp;networks</translation>
    </message>
    <message>
        <source>Auch Programme auf anderen Rechnern; sie brauchen den Zugangsschlüssel</source>
        <translation>Programs on other computers too; they need the access token</translation>
    </message>
    <message>
        <source>Zugangsschlüssel</source>
        <translation>Access token</translation>
    </message>
    <message>
        <source>&amp;Kopieren</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>Neu e&amp;rzeugen</source>
        <translation>&amp;Renew</translation>
    </message>
    <message>
        <source>Ein neuer Schlüssel; Programme mit dem alten werden getrennt</source>
        <translation>A new token; programs with the old one are disconnected</translation>
    </message>
    <message>
        <source>Verbundene Programme</source>
        <translation>Connected programs</translation>
    </message>
    <message>
        <source>&amp;Trennen</source>
        <translation>&amp;Disconnect</translation>
    </message>
    <message>
        <source>Zustand</source>
        <translation>State</translation>
    </message>
    <message>
        <source>&amp;Port:</source>
        <translation>&amp;Port:</translation>
    </message>
    <message>
        <source>Erreichbar für:</source>
        <translation>Reachable from:</translation>
    </message>
    <message>
        <source>&amp;Zugangsschlüssel:</source>
        <translation>Access &amp;token:</translation>
    </message>
    <message>
        <source>&amp;Verbundene Programme:</source>
        <translation>Connected &amp;programs:</translation>
    </message>
</context>
<context>
    <name>remote::Server</name>
    <message>
        <source>Aus</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>Port %1 ist belegt: die Fernsteuerung ist aus</source>
        <translation>Port %1 is in use: remote control is off</translation>
    </message>
    <message>
        <source>Port %1: %2</source>
        <translation>Port %1: %2</translation>
    </message>
    <message>
        <source>Bereit auf Port %1 (alle Netzwerke)</source>
        <translation>Ready on port %1 (all networks)</translation>
    </message>
    <message>
        <source>Bereit auf Port %1 (nur dieser Rechner)</source>
        <translation>Ready on port %1 (this computer only)</translation>
    </message>
</context>
<context>
    <name>sequence::MotionSet</name>
    <message>
        <source>Datei...</source>
        <translation>File...</translation>
    </message>
</context>
<context>
    <name>sequence::MotionSetPrint</name>
    <message>
        <source>Verfahrsatz: %1</source>
        <translation>Motion set: %1</translation>
    </message>
    <message>
        <source>Schritt</source>
        <translation>Step</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>Der Verfahrsatz enthält keine Schritte.</source>
        <translation>The motion set has no steps.</translation>
    </message>
</context>
<context>
    <name>sequence::PlayerCore</name>
    <message>
        <source>bereit</source>
        <translation>ready</translation>
    </message>
    <message>
        <source>spielt</source>
        <translation>playing</translation>
    </message>
    <message>
        <source>spielt (keine Antwort auf Q: berechnete Fahrzeit)</source>
        <translation>playing (no answer to Q: calculated move time)</translation>
    </message>
    <message>
        <source>angehalten (Pause gedrückt)</source>
        <translation>held (Pause pressed)</translation>
    </message>
    <message>
        <source>angehalten (Gelenk vom Bediener bewegt)</source>
        <translation>held (joint moved by the operator)</translation>
    </message>
    <message>
        <source>Verbindung 1 ist nicht aufgebaut</source>
        <translation>Connection 1 is not open</translation>
    </message>
    <message>
        <source>Der Verfahrsatz ist leer</source>
        <translation>The motion set is empty</translation>
    </message>
    <message>
        <source>gestoppt</source>
        <translation>stopped</translation>
    </message>
    <message>
        <source>Ablauf beendet</source>
        <translation>Sequence finished</translation>
    </message>
    <message>
        <source>Verbindung 1 wurde getrennt</source>
        <translation>Connection 1 was closed</translation>
    </message>
    <message>
        <source>Der Verfahrsatz wurde geändert</source>
        <translation>The motion set was changed</translation>
    </message>
    <message>
        <source>Das Fenster wurde geschlossen</source>
        <translation>The window was closed</translation>
    </message>
    <message>
        <source>Schritt %1 ist kein gültiger Schritt</source>
        <translation>Step %1 is not a valid step</translation>
    </message>
</context>
<context>
    <name>sequence::PlayerWindow</name>
    <message>
        <source>Ablauf abspielen</source>
        <translation>Play motion set</translation>
    </message>
    <message>
        <source>Abspielen</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Stopp</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Wartezeit nach jedem Schritt, wenn der Arm angekommen ist (0 bis %1 ms)</source>
        <translation>Wait after each step once the arm has arrived (0 to %1 ms)</translation>
    </message>
    <message>
        <source>Pause (ms)</source>
        <translation>Pause (ms)</translation>
    </message>
    <message>
        <source>Endlos wiederholen</source>
        <translation>Repeat endlessly</translation>
    </message>
    <message>
        <source>Aktueller Schritt des Verfahrsatzes</source>
        <translation>Current step of the motion set</translation>
    </message>
    <message>
        <source>Zustand des Ablaufs</source>
        <translation>State of the run</translation>
    </message>
    <message>
        <source>Schritt %1 von %2</source>
        <translation>Step %1 of %2</translation>
    </message>
</context>
<context>
    <name>sequence::SequenceEditor</name>
    <message>
        <source>RoboterFahrSatz (*.rfs)</source>
        <translation>Robot motion set (*.rfs)</translation>
    </message>
    <message>
        <source>Alle (*)</source>
        <translation>All (*)</translation>
    </message>
    <message>
        <source>Verfahrsatz öffnen</source>
        <translation>Open motion set</translation>
    </message>
    <message>
        <source>Verfahrsatz speichern</source>
        <translation>Save motion set</translation>
    </message>
    <message>
        <source>Neuer Verfahrsatz wird angelegt,
nicht gespeicherte Daten gehen verloren!</source>
        <translation>A new motion set is created,
unsaved data will be lost!</translation>
    </message>
</context>
<context>
    <name>settings::SettingsStore</name>
    <message>
        <source>Wollen Sie die Einstellungen speichern?</source>
        <translation>Do you want to save the settings?</translation>
    </message>
    <message>
        <source>Einstellungen wurden erfolgreich gesichert!</source>
        <translation>The settings were saved!</translation>
    </message>
    <message>
        <source>Fehler beim sichern der Einstellungen</source>
        <translation>Error while saving the settings</translation>
    </message>
    <message>
        <source>Fehler beim lesen der Einstellungen</source>
        <translation>Error while reading the settings</translation>
    </message>
</context>
<context>
    <name>telemetry::CsvRecorder</name>
    <message>
        <source>Die Aufzeichnung wurde beendet: %1 lässt sich nicht weiter beschreiben (%2). Die bisher geschriebenen Zeilen bleiben erhalten.</source>
        <translation>The recording was ended: %1 cannot be written any further (%2). The rows written so far are kept.</translation>
    </message>
    <message>
        <source>Die Aufzeichnung kann nicht beginnen: %1 lässt sich nicht beschreiben (%2).</source>
        <translation>The recording cannot begin: %1 cannot be written (%2).</translation>
    </message>
    <message>
        <source>Die Aufzeichnung kann nicht beginnen: %1 lässt sich nicht anlegen (%2).</source>
        <translation>The recording cannot begin: %1 cannot be created (%2).</translation>
    </message>
</context>
<context>
    <name>telemetry::Quantity</name>
    <message>
        <source>Batterie</source>
        <translation>Battery</translation>
    </message>
    <message>
        <source>Batterie (V)</source>
        <translation>Battery (V)</translation>
    </message>
    <message>
        <source>Temperatur</source>
        <translation>Temperature</translation>
    </message>
    <message>
        <source>Temperatur (°C)</source>
        <translation>Temperature (°C)</translation>
    </message>
    <message>
        <source>Abstand</source>
        <translation>Distance</translation>
    </message>
    <message>
        <source>Abstand (cm)</source>
        <translation>Distance (cm)</translation>
    </message>
</context>
<context>
    <name>telemetry::TelemetryStream</name>
    <message>
        <source>Kettenfahrzeug am WiPort gefunden!</source>
        <translation>Tracked vehicle found on the WiPort!</translation>
    </message>
</context>
<context>
    <name>telemetry::TelemetryWindow</name>
    <message>
        <source>unter</source>
        <translation>below</translation>
    </message>
    <message>
        <source>ab</source>
        <translation>from</translation>
    </message>
    <message>
        <source>Telemetrie</source>
        <translation>Telemetry</translation>
    </message>
    <message>
        <source>Zeitfenster:</source>
        <translation>Time window:</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>Zeitfenster</source>
        <translation>Time window</translation>
    </message>
    <message>
        <source>Anhalten</source>
        <translation>Freeze</translation>
    </message>
    <message>
        <source>Anzeige anhalten; die Zeitachse lässt sich dann mit der Maus verschieben und zoomen</source>
        <translation>Freeze the view; the time axis can then be dragged and zoomed with the mouse</translation>
    </message>
    <message>
        <source>Aufzeichnen...</source>
        <translation>Record...</translation>
    </message>
    <message>
        <source>Aufzeichnung beenden</source>
        <translation>Stop recording</translation>
    </message>
    <message>
        <source>Y-Achse</source>
        <translation>Y axis</translation>
    </message>
    <message>
        <source>Alarmgrenze</source>
        <translation>Alarm limit</translation>
    </message>
    <message>
        <source>automatisch</source>
        <translation>automatic</translation>
    </message>
    <message>
        <source>Skala der Anzeige</source>
        <translation>Gauge scale</translation>
    </message>
    <message>
        <source>Y-Achse %1</source>
        <translation>Y axis %1</translation>
    </message>
    <message>
        <source>Alarmgrenze %1</source>
        <translation>Alarm limit %1</translation>
    </message>
    <message>
        <source>Alarmzustand</source>
        <translation>Alarm state</translation>
    </message>
    <message>
        <source>Aufzeichnung</source>
        <translation>Recording</translation>
    </message>
    <message>
        <source>Kein Alarm</source>
        <translation>No alarm</translation>
    </message>
    <message>
        <source>Keine Daten</source>
        <translation>No data</translation>
    </message>
    <message>
        <source>Keine Daten: Verbindung 2 (Fahrwerk) getrennt seit %1</source>
        <translation>No data: connection 2 (chassis) closed since %1</translation>
    </message>
    <message>
        <source>Aufzeichnung: %1, %2 Zeilen (läuft weiter, wartet auf Verbindung 2)</source>
        <translation>Recording: %1, %2 rows (goes on, waiting for connection 2)</translation>
    </message>
    <message>
        <source>Aufzeichnung: %1, %2 Zeilen</source>
        <translation>Recording: %1, %2 rows</translation>
    </message>
    <message>
        <source>Weiter</source>
        <translation>Resume</translation>
    </message>
    <message>
        <source>Aufzeichnung speichern</source>
        <translation>Save recording</translation>
    </message>
    <message>
        <source>CSV-Dateien (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>Alle (*)</source>
        <translation>All (*)</translation>
    </message>
    <message>
        <source>Alarm: %1 %2 unter %3 (%4)</source>
        <translation>Alarm: %1 %2, below %3 (%4)</translation>
    </message>
    <message>
        <source>Alarm: %1 %2 ab %3 (%4)</source>
        <translation>Alarm: %1 %2, at or above %3 (%4)</translation>
    </message>
    <message>
        <source>%1 Uhr
%2: %3</source>
        <translation>%1
%2: %3</translation>
    </message>
</context>
<context>
    <name>toolkit::UpDown</name>
    <message>
        <source>höher</source>
        <translation>higher</translation>
    </message>
    <message>
        <source>niedriger</source>
        <translation>lower</translation>
    </message>
</context>
<context>
    <name>toolkit::WebBrowser</name>
    <message>
        <source>%1 nicht gefunden</source>
        <translation>%1 not found</translation>
    </message>
    <message>
        <source>Seitenprozess beendet, Code %1</source>
        <translation>Page process ended, code %1</translation>
    </message>
</context>
<context>
    <name>views::BrowserView</name>
    <message>
        <source>Eingebetteter Browser nicht verfügbar (%1): einfache Ansicht</source>
        <translation>Embedded browser not available (%1): simple view</translation>
    </message>
</context>
<context>
    <name>views::CameraView</name>
    <message>
        <source>Der Videostrom der WebCam nennt keine Trennmarke.</source>
        <translation>The webcam&apos;s video stream names no boundary.</translation>
    </message>
    <message>
        <source>Das Bild der WebCam ist zu groß.</source>
        <translation>The webcam&apos;s picture is too large.</translation>
    </message>
    <message>
        <source>Die WebCam ist nicht erreichbar:
%1</source>
        <translation>The webcam cannot be reached:
%1</translation>
    </message>
    <message>
        <source>Im Browser öffnen</source>
        <translation>Open in browser</translation>
    </message>
</context>
<context>
    <name>views::WebcamPanel</name>
    <message>
        <source>Falsche Eingabe!
0 bis 255</source>
        <translation>Wrong input!
0 to 255</translation>
    </message>
</context>
</TS>
