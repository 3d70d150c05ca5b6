<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name></name>
    <message>
        <source> ZOV Tralvex Freeware version</source>
        <translation> ZOV Tralvex Freeware version</translation>
    </message>
    <message>
        <source>English</source>
        <translation>Deutsch</translation>
    </message>
    <message>
        <source>No language files found.</source>
        <translation>Keine Sprachdateien gefunden.</translation>
    </message>
    <message>
        <source>Error while trying to read configuration file: %1
</source>
        <translation>Fehler beim Lesen der Konfigurationsdatei: %1
</translation>
    </message>
    <message>
        <source>No files have been selected yet for comparison.</source>
        <translation>Es wurden noch keine Dateien zum Vergleich ausgewählt.</translation>
    </message>
    <message>
        <source>Xml file 1 hasn&apos;t been selected yet.</source>
        <translation>XML-Datei 1 wurde noch nicht ausgewählt.</translation>
    </message>
    <message>
        <source>Xml file 2 hasn&apos;t been selected yet.</source>
        <translation>XML-Datei 2 wurde noch nicht ausgewählt.</translation>
    </message>
    <message>
        <source>Reset Visualization...</source>
        <translation>Darstellung wird zurückgesetzt...</translation>
    </message>
    <message>
        <source>Initiate diff scenario</source>
        <translation>Vergleich wird vorbereitet</translation>
    </message>
    <message>
        <source>Error in init function. For details see log file.</source>
        <translation>Fehler bei der Initialisierung. Einzelheiten stehen in der Protokolldatei.</translation>
    </message>
    <message>
        <source>Parsing XML files...</source>
        <translation>XML-Dateien werden eingelesen...</translation>
    </message>
    <message>
        <source>Error while parsing XML file.
For details see log file.</source>
        <translation>Fehler beim Einlesen einer XML-Datei.
Einzelheiten stehen in der Protokolldatei.</translation>
    </message>
    <message>
        <source>Running the tree compare process...</source>
        <translation>Die Bäume werden verglichen...</translation>
    </message>
    <message>
        <source>Comparison finished.</source>
        <translation>Vergleich beendet.</translation>
    </message>
    <message>
        <source>Freeing memory, cleaning up...</source>
        <translation>Speicher wird freigegeben, aufräumen...</translation>
    </message>
    <message>
        <source>ZOV log messages</source>
        <translation>ZOV-Protokollmeldungen</translation>
    </message>
    <message>
        <source>&lt;h3&gt;ZOV %1&lt;/h3&gt;&lt;p&gt;ZOV compares two XML documents as trees. It shows the old document beside the merged result, coloured by the kind of change found for every node, writes the merged result with change marks as an XML file and logs each run.&lt;/p&gt;&lt;p&gt;Freeware.&lt;/p&gt;</source>
        <translation>&lt;h3&gt;ZOV %1&lt;/h3&gt;&lt;p&gt;ZOV vergleicht zwei XML-Dokumente als Bäume. Es zeigt das alte Dokument neben dem zusammengeführten Ergebnis, jeder Knoten gefärbt nach der gefundenen Art der Änderung, schreibt das Ergebnis mit Änderungsmarken als XML-Datei und protokolliert jeden Lauf.&lt;/p&gt;&lt;p&gt;Freeware.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Xml files (*.xml *.XML);;Svg files (*.svg *.SVG);;All files (*.*)</source>
        <translation>XML-Dateien (*.xml *.XML);;SVG-Dateien (*.svg *.SVG);;Alle Dateien (*.*)</translation>
    </message>
    <message>
        <source>Xml file 1</source>
        <translation>XML-Datei 1</translation>
    </message>
    <message>
        <source>Xml file 2</source>
        <translation>XML-Datei 2</translation>
    </message>
    <message>
        <source>Language file %1 not found.</source>
        <translation>Sprachdatei %1 nicht gefunden.</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Configuration</source>
        <translation>Konfiguration</translation>
    </message>
    <message>
        <source>Ctrl+C</source>
        <translation>Ctrl+C</translation>
    </message>
    <message>
        <source>About Qt</source>
        <translation>Über Qt</translation>
    </message>
    <message>
        <source> About ZOV</source>
        <translation> Über ZOV</translation>
    </message>
    <message>
        <source>Elements</source>
        <translation>Elemente</translation>
    </message>
    <message>
        <source>Attributes</source>
        <translation>Attribute</translation>
    </message>
    <message>
        <source>Changemarks</source>
        <translation>Änderungsmarken</translation>
    </message>
    <message>
        <source>View</source>
        <translation>Ansicht</translation>
    </message>
    <message>
        <source>Next change</source>
        <translation>Nächste Änderung</translation>
    </message>
    <message>
        <source>Go to the next change</source>
        <translation>Zur nächsten Änderung springen</translation>
    </message>
    <message>
        <source>Previous change</source>
        <translation>Vorige Änderung</translation>
    </message>
    <message>
        <source>Go to the previous change</source>
        <translation>Zur vorigen Änderung springen</translation>
    </message>
    <message>
        <source>Hide complete matches</source>
        <translation>Vollständige Übereinstimmungen ausblenden</translation>
    </message>
    <message>
        <source>Hide the nodes whose whole subtree matches</source>
        <translation>Knoten ausblenden, deren ganzer Teilbaum übereinstimmt</translation>
    </message>
    <message>
        <source>Changes:</source>
        <translation>Änderungen:</translation>
    </message>
    <message>
        <source>Complete matches are not changes.</source>
        <translation>Vollständige Übereinstimmungen sind keine Änderungen.</translation>
    </message>
    <message>
        <source>Next and previous change move only through this kind; click again to move through all changes.</source>
        <translation>Nächste und vorige Änderung springen nur zu dieser Art; erneut klicken, um alle Änderungen zu durchlaufen.</translation>
    </message>
    <message>
        <source>Last change reached.</source>
        <translation>Letzte Änderung erreicht.</translation>
    </message>
    <message>
        <source>First change reached.</source>
        <translation>Erste Änderung erreicht.</translation>
    </message>
    <message>
        <source>No change found.</source>
        <translation>Keine Änderung gefunden.</translation>
    </message>
    <message>
        <source>The change cannot be shown.</source>
        <translation>Die Änderung kann nicht angezeigt werden.</translation>
    </message>
    <message>
        <source>The change lies %1 levels below the highlighted node, deeper than the view opens: %2</source>
        <translation>Die Änderung liegt %1 Ebenen unter dem markierten Knoten, tiefer als die Ansicht öffnet: %2</translation>
    </message>
    <message>
        <source>unchanged</source>
        <translation>gleich</translation>
    </message>
    <message>
        <source>moved</source>
        <translation>verschoben</translation>
    </message>
    <message>
        <source>changed</source>
        <translation>geändert</translation>
    </message>
    <message>
        <source>attributes</source>
        <translation>Attribute</translation>
    </message>
    <message>
        <source>changed+attr.</source>
        <translation>geändert+Attr.</translation>
    </message>
    <message>
        <source>moved+changed</source>
        <translation>verschoben+geändert</translation>
    </message>
    <message>
        <source>moved+attr.</source>
        <translation>verschoben+Attr.</translation>
    </message>
    <message>
        <source>moved+changed+attr.</source>
        <translation>verschoben+geändert+Attr.</translation>
    </message>
    <message>
        <source>added</source>
        <translation>hinzugefügt</translation>
    </message>
    <message>
        <source>deleted</source>
        <translation>gelöscht</translation>
    </message>
    <message>
        <source>shifted</source>
        <translation>nachgerückt</translation>
    </message>
    <message>
        <source>Position changes whose pairs kept their order among their siblings: only insertions or deletions before them changed their index. Unless View &gt; &quot;Show shifted nodes as moved&quot; is on, they are shown as what else changed, or as complete matches.</source>
        <translation>Positionsänderungen, deren Paare ihre Reihenfolge unter den Geschwistern behielten: nur Einfügungen oder Löschungen davor änderten ihren Index. Solange Ansicht &gt; &quot;Nachgerückte Knoten als verschoben zeigen&quot; aus ist, werden sie als das gezeigt, was sich sonst änderte, oder als vollständige Übereinstimmung.</translation>
    </message>
    <message>
        <source>Shifted</source>
        <translation>Nachgerückt</translation>
    </message>
    <message>
        <source>Show shifted nodes as moved</source>
        <translation>Nachgerückte Knoten als verschoben zeigen</translation>
    </message>
    <message>
        <source>Colour the nodes that only shifted because of insertions or deletions before them as moved</source>
        <translation>Knoten, die nur wegen Einfügungen oder Löschungen davor nachrückten, wie verschobene färben</translation>
    </message>
    <message>
        <source>(shifted)</source>
        <translation>(nachgerückt)</translation>
    </message>
    <message>
        <source>Shifted: this node kept its order among its siblings; only insertions or deletions before it changed its index.</source>
        <translation>Nachgerückt: dieser Knoten behielt seine Reihenfolge unter den Geschwistern; nur Einfügungen oder Löschungen davor änderten seinen Index.</translation>
    </message>
    <message>
        <source>No configuration file %1 yet: the built-in settings are used; Save in the configuration dialog creates the file.</source>
        <translation>Noch keine Konfigurationsdatei %1: die eingebauten Einstellungen gelten; Speichern im Konfigurationsdialog legt die Datei an.</translation>
    </message>
</context>
<context>
    <name>Cfgdialog</name>
    <message>
        <source>ZOV Configuration</source>
        <translation>ZOV-Konfiguration</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>General settings</source>
        <translation>Allgemeine Einstellungen</translation>
    </message>
    <message>
        <source>General Settings</source>
        <translation>Allgemeine Einstellungen</translation>
    </message>
    <message>
        <source>File handling</source>
        <translation>Dateibehandlung</translation>
    </message>
    <message>
        <source>write result file</source>
        <translation>Ergebnisdatei schreiben</translation>
    </message>
    <message>
        <source>&apos;human readable&apos; save mode</source>
        <translation>Speichermodus &apos;lesbar&apos;</translation>
    </message>
    <message>
        <source>&apos;no whitespace&apos; save mode</source>
        <translation>Speichermodus &apos;ohne Leerraum&apos;</translation>
    </message>
    <message>
        <source>indent step</source>
        <translation>Einrückungsschritt</translation>
    </message>
    <message>
        <source>file name supplement</source>
        <translation>Dateinamenszusatz</translation>
    </message>
    <message>
        <source>Globals</source>
        <translation>Global</translation>
    </message>
    <message>
        <source>Hash mode</source>
        <translation>Hash-Modus</translation>
    </message>
    <message>
        <source>Write log file</source>
        <translation>Protokolldatei schreiben</translation>
    </message>
    <message>
        <source>Log directory</source>
        <translation>Protokollverzeichnis</translation>
    </message>
    <message>
        <source>Number of threads</source>
        <translation>Anzahl der Threads</translation>
    </message>
    <message>
        <source>Write parser log (debug only)</source>
        <translation>Parser-Protokoll schreiben (nur zur Fehlersuche)</translation>
    </message>
    <message>
        <source>Diff mode</source>
        <translation>Vergleichsmodus</translation>
    </message>
    <message>
        <source>content mode</source>
        <translation>Inhaltsmodus</translation>
    </message>
    <message>
        <source>Excluded elements</source>
        <translation>Ausgenommene Elemente</translation>
    </message>
    <message>
        <source>normalize spaces</source>
        <translation>Leerraum normalisieren</translation>
    </message>
    <message>
        <source>add deleted nodes to result file</source>
        <translation>gelöschte Knoten in die Ergebnisdatei aufnehmen</translation>
    </message>
    <message>
        <source>shift mode</source>
        <translation>Verschiebemodus</translation>
    </message>
    <message>
        <source>Attributes</source>
        <translation>Attribute</translation>
    </message>
    <message>
        <source>ignore attribute order</source>
        <translation>Attributreihenfolge ignorieren</translation>
    </message>
    <message>
        <source>ignore attributes</source>
        <translation>Attribute ignorieren</translation>
    </message>
    <message>
        <source>compare attribute contents</source>
        <translation>Attributinhalte vergleichen</translation>
    </message>
    <message>
        <source>Attribute change marks</source>
        <translation>Attribut-Änderungsmarken</translation>
    </message>
    <message>
        <source>attribute added</source>
        <translation>Attribut hinzugefügt</translation>
    </message>
    <message>
        <source>attribute deleted</source>
        <translation>Attribut gelöscht</translation>
    </message>
    <message>
        <source>value change</source>
        <translation>Wertänderung</translation>
    </message>
    <message>
        <source>complete match</source>
        <translation>volle Übereinstimmung</translation>
    </message>
    <message>
        <source>Anchor elements</source>
        <translation>Ankerelemente</translation>
    </message>
    <message>
        <source>Anchor Elements</source>
        <translation>Ankerelemente</translation>
    </message>
    <message>
        <source>Add element</source>
        <translation>Element hinzufügen</translation>
    </message>
    <message>
        <source>Delete element</source>
        <translation>Element löschen</translation>
    </message>
    <message>
        <source>Anchor properties</source>
        <translation>Ankereigenschaften</translation>
    </message>
    <message>
        <source>path:</source>
        <translation>Pfad:</translation>
    </message>
    <message>
        <source>absolute</source>
        <translation>absolut</translation>
    </message>
    <message>
        <source>Text diffing</source>
        <translation>Textvergleich</translation>
    </message>
    <message>
        <source>Text Diffing</source>
        <translation>Textvergleich</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>enable text diff</source>
        <translation>Textvergleich einschalten</translation>
    </message>
    <message>
        <source>case sensitive</source>
        <translation>Groß-/Kleinschreibung beachten</translation>
    </message>
    <message>
        <source>min length of common substring</source>
        <translation>Mindestlänge gemeinsamer Teilzeichenketten</translation>
    </message>
    <message>
        <source>text insertion start</source>
        <translation>Beginn eingefügter Text</translation>
    </message>
    <message>
        <source>text insertion end</source>
        <translation>Ende eingefügter Text</translation>
    </message>
    <message>
        <source>text deletion start</source>
        <translation>Beginn gelöschter Text</translation>
    </message>
    <message>
        <source>text deletion end</source>
        <translation>Ende gelöschter Text</translation>
    </message>
    <message>
        <source>Changemarks</source>
        <translation>Änderungsmarken</translation>
    </message>
    <message>
        <source>Change Marks</source>
        <translation>Änderungsmarken</translation>
    </message>
    <message>
        <source>Change mark</source>
        <translation>Änderungsmarke</translation>
    </message>
    <message>
        <source>Change mark&apos;s text</source>
        <translation>Text der Änderungsmarke</translation>
    </message>
    <message>
        <source>Use in result file</source>
        <translation>In Ergebnisdatei verwenden</translation>
    </message>
    <message>
        <source>Complete match</source>
        <translation>Volle Übereinstimmung</translation>
    </message>
    <message>
        <source>Position change</source>
        <translation>Positionsänderung</translation>
    </message>
    <message>
        <source>Content change</source>
        <translation>Inhaltsänderung</translation>
    </message>
    <message>
        <source>Attribute change</source>
        <translation>Attributänderung</translation>
    </message>
    <message>
        <source>Attribute and content change</source>
        <translation>Attribut- und Inhaltsänderung</translation>
    </message>
    <message>
        <source>Position and content change</source>
        <translation>Positions- und Inhaltsänderung</translation>
    </message>
    <message>
        <source>Position and attribute change</source>
        <translation>Positions- und Attributänderung</translation>
    </message>
    <message>
        <source>Position and content and attribute change</source>
        <translation>Positions-, Inhalts- und Attributänderung</translation>
    </message>
    <message>
        <source>Element added</source>
        <translation>Element hinzugefügt</translation>
    </message>
    <message>
        <source>Element deleted</source>
        <translation>Element gelöscht</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>Mainwindow</name>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>Configuration</source>
        <translation>Konfiguration</translation>
    </message>
    <message>
        <source>Ctrl+C</source>
        <translation>Ctrl+C</translation>
    </message>
    <message>
        <source>Log messages</source>
        <translation>Protokollmeldungen</translation>
    </message>
    <message>
        <source>Ctrl+L</source>
        <translation>Ctrl+L</translation>
    </message>
    <message>
        <source>About Qt</source>
        <translation>Über Qt</translation>
    </message>
    <message>
        <source> About ZOV</source>
        <translation> Über ZOV</translation>
    </message>
    <message>
        <source>Ctrl+X</source>
        <translation>Ctrl+X</translation>
    </message>
    <message>
        <source>Xml file 1</source>
        <translation>XML-Datei 1</translation>
    </message>
    <message>
        <source>Xml file 2</source>
        <translation>XML-Datei 2</translation>
    </message>
    <message>
        <source>Diff</source>
        <translation>Vergleichen</translation>
    </message>
    <message>
        <source>View</source>
        <translation>Ansicht</translation>
    </message>
    <message>
        <source>Next change</source>
        <translation>Nächste Änderung</translation>
    </message>
    <message>
        <source>Go to the next change</source>
        <translation>Zur nächsten Änderung springen</translation>
    </message>
    <message>
        <source>Previous change</source>
        <translation>Vorige Änderung</translation>
    </message>
    <message>
        <source>Go to the previous change</source>
        <translation>Zur vorigen Änderung springen</translation>
    </message>
    <message>
        <source>Hide complete matches</source>
        <translation>Vollständige Übereinstimmungen ausblenden</translation>
    </message>
    <message>
        <source>Hide the nodes whose whole subtree matches</source>
        <translation>Knoten ausblenden, deren ganzer Teilbaum übereinstimmt</translation>
    </message>
</context>
<context>
    <name>dlg_newanchor</name>
    <message>
        <source>Add new element</source>
        <translation>Neues Element hinzufügen</translation>
    </message>
    <message>
        <source>Element&apos;s name</source>
        <translation>Name des Elements</translation>
    </message>
    <message>
        <source>Anchor&apos;s path</source>
        <translation>Pfad des Ankers</translation>
    </message>
</context>
</TS>
