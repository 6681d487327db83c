<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="de">
<context>
    <name>AboutWindow</name>
    <message>
        <source>Open-Source-Lizenzen</source>
        <translation>Open Source Licences</translation>
    </message>
</context>
<context>
    <name>AppVersion</name>
    <message>
        <source>Version %1 (%2)</source>
        <translation>Version %1 (%2)</translation>
    </message>
</context>
<context>
    <name>Appcast</name>
    <message>
        <source>Der Update-Feed ist nicht lesbar.</source>
        <translation>The update feed cannot be read.</translation>
    </message>
    <message>
        <source>Der Update-Feed enthält eine Dokumenttypdeklaration und wird deshalb nicht gelesen.</source>
        <translation>The update feed contains a document type declaration and is therefore not read.</translation>
    </message>
    <message>
        <source>Der Update-Feed ist kein RSS-Dokument.</source>
        <translation>The update feed is not an RSS document.</translation>
    </message>
</context>
<context>
    <name>BackupListModel</name>
    <message>
        <source>=0 {Keine Jobs} one {# Job} other {# Jobs}</source>
        <translation>=0 {No jobs} one {# job} other {# jobs}</translation>
    </message>
</context>
<context>
    <name>Checks</name>
    <message>
        <source>Werte einsetzen</source>
        <translation>Fill in the values</translation>
    </message>
    <message>
        <source>Werte in %1 einsetzen</source>
        <translation>Fill in the values in %1</translation>
    </message>
    <message>
        <source>cron setzt in Zuweisungen keine Variablen und kein „~“ ein: %1 bekommt wörtlich „%2“.</source>
        <translation>cron expands no variables and no “~” in assignments: %1 gets “%2” literally.</translation>
    </message>
    <message>
        <source>„#“ beginnt in einer Zuweisung keinen Kommentar: %1 bekommt wörtlich „%2“.</source>
        <translation>“#” starts no comment in an assignment: %1 gets “%2” literally.</translation>
    </message>
    <message>
        <source>Kommentar darüber setzen</source>
        <translation>Put the comment above</translation>
    </message>
    <message>
        <source>Kommentar aus %1 lösen</source>
        <translation>Move the comment out of %1</translation>
    </message>
    <message>
        <source>„%1“ gibt es nicht oder ist nicht ausführbar: cron kann die Jobs darunter nicht starten.</source>
        <translation>“%1” does not exist or is not executable: cron cannot start the jobs below it.</translation>
    </message>
    <message>
        <source>„%1=“ ohne Wert nimmt crontab nicht an und verweigert die ganze Datei; für einen leeren Wert schreibe %1=&quot;&quot;.</source>
        <translation>crontab does not accept “%1=” without a value and refuses the whole file; for an empty value write %1=&quot;&quot;.</translation>
    </message>
    <message>
        <source>Leeren Wert schreiben</source>
        <translation>Write an empty value</translation>
    </message>
    <message>
        <source>%1=&quot;&quot; schreiben</source>
        <translation>Write %1=&quot;&quot;</translation>
    </message>
    <message>
        <source>cron liest „%1“ nicht als Zuweisung, denn nach dem Wert in Anführungszeichen darf nichts mehr stehen; crontab verweigert die ganze Datei.</source>
        <translation>cron does not read “%1” as an assignment, because nothing may follow a quoted value; crontab refuses the whole file.</translation>
    </message>
    <message>
        <source>%1: cron liest dieses Feld nicht.</source>
        <translation>%1: cron cannot read this field.</translation>
    </message>
    <message>
        <source>Ein Cron-Zeitplan braucht genau fünf Felder.</source>
        <translation>A cron schedule needs exactly five fields.</translation>
    </message>
    <message>
        <source>Der Befehl beginnt mit „*“, was crontab für ein sechstes Zeitfeld hält.</source>
        <translation>The command starts with “*”, which crontab takes for a sixth time field.</translation>
    </message>
    <message>
        <source>Der Befehl ist länger als %1 Bytes, mehr nimmt crontab nicht an.</source>
        <translation>The command is longer than %1 bytes, more than crontab accepts.</translation>
    </message>
    <message>
        <source>crontab nimmt die Datei wegen dieser Zeile nicht an: %1</source>
        <translation>crontab does not accept the file because of this line: %1</translation>
    </message>
    <message>
        <source>Zeilenenden reparieren</source>
        <translation>Repair line endings</translation>
    </message>
    <message>
        <source>Die Datei endet ohne Zeilenumbruch: crontab nimmt sie so nicht an („missing newline before EOF“).</source>
        <translation>The file does not end with a line break: crontab does not accept it like this (“missing newline before EOF”).</translation>
    </message>
    <message>
        <source>Zeilenumbruch anhängen</source>
        <translation>Append a line break</translation>
    </message>
    <message>
        <source>Auf diesem Rechner läuft kein cron-Dienst: keine Zeile dieser Crontab wird ausgeführt.</source>
        <translation>No cron service is running on this computer: no line of this crontab is run.</translation>
    </message>
    <message>
        <source>%1 nennt %2 nicht: cron führt für dieses Konto nichts aus.</source>
        <translation>%1 does not name %2: cron runs nothing for this account.</translation>
    </message>
    <message>
        <source>%1 nennt %2: cron führt für dieses Konto nichts aus.</source>
        <translation>%1 names %2: cron runs nothing for this account.</translation>
    </message>
    <message>
        <source>„%1“ liegt in %2, cron sucht aber nur in %3.</source>
        <translation>“%1” is in %2, but cron only looks in %3.</translation>
    </message>
    <message>
        <source>Vollen Pfad einsetzen</source>
        <translation>Insert the full path</translation>
    </message>
    <message>
        <source>Pfad von „%1“ ergänzen</source>
        <translation>Complete the path of “%1”</translation>
    </message>
    <message>
        <source>PATH ergänzen</source>
        <translation>Extend PATH</translation>
    </message>
    <message>
        <source>PATH um %1 ergänzen</source>
        <translation>Add %1 to PATH</translation>
    </message>
    <message>
        <source>„%1“ ist ein Benutzerkonto, kein Programm: eine Spalte für den Benutzer gibt es nur in /etc/crontab und /etc/cron.d, in einer Benutzer-Crontab beginnt dort der Befehl.</source>
        <translation>“%1” is a user account, not a program: only /etc/crontab and /etc/cron.d have a user column; in a user&apos;s crontab the command starts there.</translation>
    </message>
    <message>
        <source>„%1“ sieht nach einem Zeitfeld aus, steht aber, wo der Befehl beginnt: cron sucht ein Programm „%1“ und findet keines.</source>
        <translation>“%1” looks like a time field but stands where the command starts: cron looks for a program “%1” and finds none.</translation>
    </message>
    <message>
        <source>„%1“ gibt es auf diesem Rechner nicht: weder in %2, wo cron sucht, noch in deinem Suchpfad.</source>
        <translation>“%1” does not exist on this computer: neither in %2, where cron looks, nor in your search path.</translation>
    </message>
    <message>
        <source>„%1“ gibt es nicht: cron sucht es in %2.</source>
        <translation>“%1” does not exist: cron looks for it in %2.</translation>
    </message>
    <message>
        <source>„%1“ gibt es nicht.</source>
        <translation>“%1” does not exist.</translation>
    </message>
    <message>
        <source>„%1“ ist nicht erreichbar: ein Ordner auf dem Weg darf nicht betreten werden, oder Verknüpfungen führen im Kreis.</source>
        <translation>“%1” cannot be reached: a folder on the way may not be entered, or links go round in a circle.</translation>
    </message>
    <message>
        <source>„%1“ ist ein Ordner, kein Programm.</source>
        <translation>“%1” is a folder, not a program.</translation>
    </message>
    <message>
        <source>„%1“ ist keine Datei, sondern ein Gerät, eine Pipe oder ein Socket.</source>
        <translation>“%1” is no file but a device, a pipe or a socket.</translation>
    </message>
    <message>
        <source>Ausführbar machen</source>
        <translation>Make executable</translation>
    </message>
    <message>
        <source>„%1“ ausführbar machen</source>
        <translation>Make “%1” executable</translation>
    </message>
    <message>
        <source>„%1“ ist nicht ausführbar: der Job scheitert mit „Permission denied“.</source>
        <translation>“%1” is not executable: the job fails with “Permission denied”.</translation>
    </message>
    <message>
        <source>„%1“ wird im Persönlichen Ordner gesucht (%2): cron startet dort.</source>
        <translation>“%1” is looked for in the home folder (%2): cron starts there.</translation>
    </message>
    <message>
        <source>„%1“ ist eine Binärdatei, die dieses System nicht starten kann.</source>
        <translation>“%1” is a binary file this system cannot start.</translation>
    </message>
    <message>
        <source>„%1“ ist ein PHP-Programm ohne #!-Zeile: sh liest es als Shell-Text, und der Job scheitert.</source>
        <translation>“%1” is a PHP program without a #! line: sh reads it as shell text, and the job fails.</translation>
    </message>
    <message>
        <source>„%1“ ist ein Python-Programm ohne #!-Zeile: sh liest es als Shell-Text, und der Job scheitert.</source>
        <translation>“%1” is a Python program without a #! line: sh reads it as shell text, and the job fails.</translation>
    </message>
    <message>
        <source>Die erste Zeile von „%1“ endet mit einem Wagenrücklauf (Windows-Zeilenende): das System sucht „%2\r“ und findet es nicht.</source>
        <translation>The first line of “%1” ends with a carriage return (Windows line ending): the system looks for “%2
” and does not find it.</translation>
    </message>
    <message>
        <source>„%1“ nennt in seiner ersten Zeile „%2“, das es nicht gibt oder das nicht ausführbar ist.</source>
        <translation>The first line of “%1” names “%2”, which does not exist or is not executable.</translation>
    </message>
    <message>
        <source>„%1“ lässt „env“ das Programm „%2“ suchen, das es in %3, wo cron sucht, nicht gibt.</source>
        <translation>“%1” has “env” look for the program “%2”, which is not in %3, where cron looks.</translation>
    </message>
    <message>
        <source>„%1“ liegt im Persönlichen Ordner (%2): cron startet dort, nicht im Ordner des Programms.</source>
        <translation>“%1” is looked for in the home folder (%2): cron starts there, not in the program&apos;s folder.</translation>
    </message>
    <message>
        <source>„%1“ braucht die Desktop-Sitzung, aber cron gibt dem Job weder DISPLAY noch DBUS_SESSION_BUS_ADDRESS: es findet keine Sitzung, und nichts erscheint.</source>
        <translation>“%1” needs the desktop session, but cron gives the job neither DISPLAY nor DBUS_SESSION_BUS_ADDRESS: it finds no session, and nothing appears.</translation>
    </message>
    <message>
        <source>Sitzungsbus eintragen</source>
        <translation>Add the session bus</translation>
    </message>
    <message>
        <source>Sitzungsbus für „%1“ eintragen</source>
        <translation>Add the session bus for “%1”</translation>
    </message>
    <message>
        <source>„%1“ trifft nie: diesen Tag gibt es in keinem der Monate, und die Zeile läuft nie.</source>
        <translation>“%1” never matches: no month has this day, and the line never runs.</translation>
    </message>
    <message>
        <source>Als Liste schreiben</source>
        <translation>Write as a list</translation>
    </message>
    <message>
        <source>Bereich „%1“ als Liste schreiben</source>
        <translation>Write the range “%1” as a list</translation>
    </message>
    <message>
        <source>„%1“ ist ein umgekehrter Bereich: cron liest ihn als leer, und die Zeile läuft nur, wo die übrigen Felder es sagen.</source>
        <translation>“%1” is a reversed range: cron reads it as empty, and the line runs only where the other fields say so.</translation>
    </message>
    <message>
        <source>„%1“ ist ein umgekehrter Bereich: cron liest ihn als leer, und die Zeile läuft nie.</source>
        <translation>“%1” is a reversed range: cron reads it as empty, and the line never runs.</translation>
    </message>
    <message>
        <source>cron liest „%1“ als „%2“ und übergeht „%3“, ohne es zu melden.</source>
        <translation>cron reads “%1” as “%2” and passes over “%3” without a word.</translation>
    </message>
    <message>
        <source>Wie cron schreiben</source>
        <translation>Write it as cron reads it</translation>
    </message>
    <message>
        <source>„%1“ als „%2“ schreiben</source>
        <translation>Write “%1” as “%2”</translation>
    </message>
    <message>
        <source>Tag und Wochentag sind beide eingeschränkt: cron startet den Job an jedem dieser Tage und an jedem dieser Wochentage, nicht nur, wenn beides zutrifft, zum Beispiel am %1 und am %2.</source>
        <translation>Day of month and weekday are both restricted: cron starts the job on each of these days and on each of these weekdays, not only when both apply, for example on %1 and on %2.</translation>
    </message>
    <message>
        <source>„%1“ als Minute heißt jede Minute: der Job läuft in jeder passenden Stunde 60-mal.</source>
        <translation>“%1” as the minute means every minute: the job runs 60 times in every matching hour.</translation>
    </message>
    <message>
        <source>Nur zur vollen Stunde</source>
        <translation>Only on the hour</translation>
    </message>
    <message>
        <source>„%1“ nur zur vollen Stunde starten</source>
        <translation>Start “%1” only on the hour</translation>
    </message>
    <message>
        <source>Am %1 wird die Uhr von %2 auf %3 vorgestellt: %4 gibt es an diesem Tag nicht, und cron startet den Job gleich nach der Umstellung.</source>
        <translation>On %1 the clock goes forward from %2 to %3: %4 does not exist that day, and cron starts the job right after the change.</translation>
    </message>
    <message>
        <source>Am %1 wird die Uhr von %2 auf %3 zurückgestellt: %4 kommt an diesem Tag zweimal, und cron startet den Job nur einmal.</source>
        <translation>On %1 the clock goes back from %2 to %3: %4 comes twice that day, and cron starts the job only once.</translation>
    </message>
    <message>
        <source>one {# Minute} other {# Minuten}</source>
        <translation>one {# minute} other {# minutes}</translation>
    </message>
    <message>
        <source>one {# Stunde} other {# Stunden}</source>
        <translation>one {# hour} other {# hours}</translation>
    </message>
    <message>
        <source>Der längste der letzten %1 Läufe dauerte %2, der nächste Start folgt aber schon nach %3: ohne „flock“ laufen die Läufe übereinander.</source>
        <translation>The longest of the last %1 runs took %2, but the next start follows after %3 already: without “flock” the runs pile up.</translation>
    </message>
    <message>
        <source>„[[ … ]]“ kennt sh nicht: der Befehl scheitert mit „[[: not found“; sh versteht „[ … ]“.</source>
        <translation>sh does not know “[[ … ]]”: the command fails with “[[: not found”; sh understands “[ … ]”.</translation>
    </message>
    <message>
        <source>„source“ kennt sh nicht; sh versteht „.“.</source>
        <translation>sh does not know “source”; sh understands “.”.</translation>
    </message>
    <message>
        <source>„&lt;&lt;&lt;“ ist in sh ein Syntaxfehler; sh versteht „printf &apos;%s\n&apos; … |“.</source>
        <translation>“&lt;&lt;&lt;” is a syntax error in sh; sh understands “printf &apos;%s
&apos; … |”.</translation>
    </message>
    <message>
        <source>„function“ ist in sh ein Syntaxfehler; sh versteht „name() { …; }“.</source>
        <translation>“function” is a syntax error in sh; sh understands “name() { …; }”.</translation>
    </message>
    <message>
        <source>„&amp;&gt;“ schickt in sh den Befehl in den Hintergrund und leert die Datei nur; sh versteht „&gt;datei 2&gt;&amp;1“.</source>
        <translation>In sh, “&amp;&gt;” sends the command to the background and only empties the file; sh understands “&gt;file 2&gt;&amp;1”.</translation>
    </message>
    <message>
        <source>„{a,b}“ bleibt in sh stehen, wie es ist: sh erweitert keine Klammerlisten.</source>
        <translation>“{a,b}” stays as it is in sh: sh expands no brace lists.</translation>
    </message>
    <message>
        <source>bash verwenden</source>
        <translation>Use bash</translation>
    </message>
    <message>
        <source>SHELL=/bin/bash über „%1“ eintragen</source>
        <translation>Add SHELL=/bin/bash above “%1”</translation>
    </message>
    <message>
        <source>cron startet den Job mit %1, das bash-Schreibweisen nicht kennt.</source>
        <translation>cron starts the job with %1, which does not know bash notation.</translation>
    </message>
    <message>
        <source>Überwachen</source>
        <translation>Monitor</translation>
    </message>
    <message>
        <source>Ausführungsstatus für „%1“ aktivieren</source>
        <translation>Turn on run status for “%1”</translation>
    </message>
    <message>
        <source>In ~/cron.log schreiben</source>
        <translation>Write to ~/cron.log</translation>
    </message>
    <message>
        <source>Ausgabe von „%1“ in ~/cron.log schreiben</source>
        <translation>Write the output of “%1” to ~/cron.log</translation>
    </message>
    <message>
        <source>Was der Job ausgibt, geht verloren: cron würde es per Mail schicken, aber auf diesem Rechner ist kein Mailprogramm installiert (%1 fehlt).</source>
        <translation>What the job prints is lost: cron would send it by mail, but no mail program is installed on this computer (%1 is missing).</translation>
    </message>
    <message>
        <source>Nicht mehr anzeigen</source>
        <translation>Don&apos;t show again</translation>
    </message>
    <message>
        <source>Hinweis „%1“ ausblenden</source>
        <translation>Hide the hint “%1”</translation>
    </message>
    <message>
        <source>\% schreiben</source>
        <translation>Write \%</translation>
    </message>
    <message>
        <source>Prozentzeichen schützen</source>
        <translation>Protect the percent sign</translation>
    </message>
    <message>
        <source>cron beendet den Befehl beim ersten „%“: die Shell bekommt nur „%1“, in dem ein Anführungszeichen oder eine Klammer offen bleibt, und der Job scheitert.</source>
        <translation>cron ends the command at the first “%”: the shell only gets “%1”, in which a quote or a parenthesis stays open, and the job fails.</translation>
    </message>
    <message>
        <source>cron gibt den Text nach dem ersten „%“ an „%1“ als Eingabe weiter, jedes weitere „%“ als Zeilenumbruch.</source>
        <translation>cron hands the text after the first “%” to “%1” as input, each further “%” as a line break.</translation>
    </message>
    <message>
        <source>cron beendet den Befehl beim ersten „%“: es läuft nur „%1“, der Rest kommt als Eingabe. Für ein Prozentzeichen schreibe „\%“.</source>
        <translation>cron ends the command at the first “%”: only “%1” runs, the rest comes as input. For a percent sign write “\%”.</translation>
    </message>
    <message>
        <source>Die Zeile endet mit einem Wagenrücklauf (Windows-Zeilenende): cron gibt ihn der Shell als Teil des Befehls, und der Job scheitert.</source>
        <translation>The line ends with a carriage return (Windows line ending): cron hands it to the shell as part of the command, and the job fails.</translation>
    </message>
    <message>
        <source>Die Zeile endet mit einem Wagenrücklauf (Windows-Zeilenende): cron gibt ihn der Shell als Teil des Befehls, die dann „%1\r“ statt „%1“ liest, und der Job scheitert.</source>
        <translation>The line ends with a carriage return (Windows line ending): cron hands it to the shell as part of the command, which then reads “%1
” instead of “%1”, and the job fails.</translation>
    </message>
    <message>
        <source>cron liest von einer Zuweisung nur die ersten %1 Bytes: %2 endet bei „%3“, der Rest der Zeile geht verloren.</source>
        <translation>cron reads only the first %1 bytes of an assignment: %2 ends at “%3”, the rest of the line is lost.</translation>
    </message>
</context>
<context>
    <name>Cli</name>
    <message>
        <source>\ Kein Zeilenumbruch am Dateiende</source>
        <translation>\ No newline at end of file</translation>
    </message>
    <message>
        <source>Sicherungen konnten nicht gelesen werden</source>
        <translation>Backups could not be read</translation>
    </message>
    <message>
        <source>Keine Sicherung „%1“; tempolane-cli backups zeigt die vorhandenen.</source>
        <translation>No backup “%1”; tempolane-cli backups lists the existing ones.</translation>
    </message>
    <message>
        <source>„%1“ kann nicht verwendet werden: %2.</source>
        <translation>“%1” cannot be used: %2.</translation>
    </message>
    <message>
        <source>=0 {Keine Jobs} one {# Job} other {# Jobs}</source>
        <translation>=0 {no jobs} one {# job} other {# jobs}</translation>
    </message>
    <message>
        <source>unbrauchbar: %1</source>
        <translation>unusable: %1</translation>
    </message>
    <message>
        <source>Übersprungen: %1</source>
        <translation>Skipped: %1</translation>
    </message>
    <message>
        <source>Die Sicherung entspricht der aktuellen crontab.</source>
        <translation>The backup matches the current crontab.</translation>
    </message>
    <message>
        <source>Die crontab entspricht bereits dieser Sicherung.</source>
        <translation>The crontab already matches this backup.</translation>
    </message>
    <message>
        <source>Wiederhergestellt aus „%1“ (%2 Zeilen). Die vorherige crontab ist gesichert: „tempolane-cli restore 1“ holt sie zurück.</source>
        <translation>Restored from “%1” (%2 lines). The previous crontab has been backed up: “tempolane-cli restore 1” brings it back.</translation>
    </message>
    <message>
        <source>Die Eingabe ist kein gültiges UTF-8.</source>
        <translation>The input is not valid UTF-8.</translation>
    </message>
    <message>
        <source>aktiv</source>
        <translation>active</translation>
    </message>
    <message>
        <source>pausiert</source>
        <translation>paused</translation>
    </message>
    <message>
        <source>„%1“ passt auf mehrere Cronjobs; bitte die Id angeben:</source>
        <translation>“%1” matches more than one job; please give the id:</translation>
    </message>
    <message>
        <source>Kein Cronjob „%1“; die crontab hat keine Cronjobs.</source>
        <translation>No job “%1”; the crontab has no jobs.</translation>
    </message>
    <message>
        <source>Kein Cronjob „%1“. Vorhanden sind:</source>
        <translation>No job “%1”. The jobs are:</translation>
    </message>
    <message>
        <source>„%1“ wird aus der crontab entfernt. Vorher wird automatisch ein Backup angelegt. Löschen? [j/N] </source>
        <translation>“%1” will be removed from the crontab. A backup is made first. Delete? [y/N] </translation>
    </message>
    <message>
        <source>Cronjob konnte nicht erfolgreich ausgeführt werden</source>
        <translation>The job could not be run successfully</translation>
    </message>
    <message>
        <source>„%1“ hat keinen Ausführungsstatus; nur überwachte Cronjobs lassen sich von Tempolane ausführen.</source>
        <translation>“%1” is not monitored; Tempolane can only run monitored jobs.</translation>
    </message>
    <message>
        <source>„%1“ ist bereits aktiv.</source>
        <translation>“%1” is already active.</translation>
    </message>
    <message>
        <source>„%1“ ist bereits pausiert.</source>
        <translation>“%1” is already paused.</translation>
    </message>
    <message>
        <source>„%1“ fortgesetzt.</source>
        <translation>“%1” resumed.</translation>
    </message>
    <message>
        <source>„%1“ pausiert.</source>
        <translation>“%1” paused.</translation>
    </message>
    <message>
        <source>delete fragt vor dem Löschen nach; ohne Terminal bitte --yes angeben.</source>
        <translation>delete asks before deleting; without a terminal, please add --yes.</translation>
    </message>
    <message>
        <source>Nichts gelöscht.</source>
        <translation>Nothing deleted.</translation>
    </message>
    <message>
        <source>„%1“ gelöscht.</source>
        <translation>“%1” deleted.</translation>
    </message>
    <message>
        <source>Erwartet: AUSDRUCK&lt;TAB&gt;SEKUNDEN&lt;TAB&gt;ZEITZONE</source>
        <translation>Expected: EXPRESSION&lt;TAB&gt;SECONDS&lt;TAB&gt;TIME ZONE</translation>
    </message>
    <message>
        <source>Ungültiger Zeitpunkt: %1</source>
        <translation>Invalid point in time: %1</translation>
    </message>
    <message>
        <source>Unbekannte Zeitzone: %1</source>
        <translation>Unknown time zone: %1</translation>
    </message>
    <message>
        <source>Zeile %1</source>
        <translation>Line %1</translation>
    </message>
    <message>
        <source>%1: Datei nicht gefunden.</source>
        <translation>%1: file not found.</translation>
    </message>
    <message>
        <source>%1: ist ein Ordner, keine Datei.</source>
        <translation>%1: is a folder, not a file.</translation>
    </message>
    <message>
        <source>%1: kann nicht gelesen werden.</source>
        <translation>%1: cannot be read.</translation>
    </message>
    <message>
        <source>%1: ist zu groß für eine Crontab.</source>
        <translation>%1: is too large for a crontab.</translation>
    </message>
    <message>
        <source>%1: ist kein gültiges UTF-8.</source>
        <translation>%1: is not valid UTF-8.</translation>
    </message>
    <message>
        <source>one {Keine Ausführung in der nächsten Stunde.} other {Keine Ausführung in den nächsten # Stunden.}</source>
        <translation>one {No run in the next hour.} other {No run in the next # hours.}</translation>
    </message>
</context>
<context>
    <name>CronBackup</name>
    <message>
        <source>größer als %1 MiB</source>
        <translation>larger than %1 MiB</translation>
    </message>
    <message>
        <source>kein gültiger UTF-8-Text</source>
        <translation>not valid UTF-8 text</translation>
    </message>
    <message>
        <source>nicht lesbar: %1</source>
        <translation>not readable: %1</translation>
    </message>
    <message>
        <source>gehört einem anderen Benutzer</source>
        <translation>owned by another user</translation>
    </message>
</context>
<context>
    <name>CronBackupError</name>
    <message>
        <source>Der Ordner für Sicherungskopien konnte nicht bestimmt werden.</source>
        <translation>The folder for backups could not be found.</translation>
    </message>
    <message>
        <source>Der Ordner „%1“ konnte nicht angelegt werden.</source>
        <translation>The folder “%1” could not be created.</translation>
    </message>
    <message>
        <source>Die Zugriffsrechte von „%1“ konnten nicht gesetzt werden.</source>
        <translation>The permissions of “%1” could not be set.</translation>
    </message>
    <message>
        <source>Die Sicherungskopie „%1“ konnte nicht geschrieben werden.</source>
        <translation>The backup “%1” could not be written.</translation>
    </message>
    <message>
        <source>Der Ordner „%1“ konnte nicht gelesen werden.</source>
        <translation>The folder “%1” could not be read.</translation>
    </message>
    <message>
        <source>Das Änderungsdatum von „%1“ konnte nicht gelesen werden.</source>
        <translation>The modification date of “%1” could not be read.</translation>
    </message>
    <message>
        <source>Die alte Sicherungskopie „%1“ konnte nicht gelöscht werden.</source>
        <translation>The old backup “%1” could not be deleted.</translation>
    </message>
</context>
<context>
    <name>CronExpression</name>
    <message>
        <source>Der Schritt ist zu groß.</source>
        <translation>The step is too large.</translation>
    </message>
    <message>
        <source>Leere Listenelemente sind nicht erlaubt.</source>
        <translation>Empty list items are not allowed.</translation>
    </message>
    <message>
        <source>Ungültiger Schrittwert.</source>
        <translation>Invalid step value.</translation>
    </message>
    <message>
        <source>Der Schritt muss größer als 0 sein.</source>
        <translation>The step must be greater than 0.</translation>
    </message>
    <message>
        <source>Namen sind nur einzeln erlaubt, nicht in Listen oder Bereichen.</source>
        <translation>Names are only allowed on their own, not in lists or ranges.</translation>
    </message>
    <message>
        <source>Wert außerhalb von %1…%2.</source>
        <translation>Value outside %1…%2.</translation>
    </message>
    <message>
        <source>Ungültiger Bereich.</source>
        <translation>Invalid range.</translation>
    </message>
    <message>
        <source>Ein Schritt ist nur nach * oder einem Bereich erlaubt.</source>
        <translation>A step is only allowed after * or a range.</translation>
    </message>
    <message>
        <source>Bitte einen Zeitplan eingeben.</source>
        <translation>Please enter a schedule.</translation>
    </message>
    <message>
        <source>Felder dürfen nur durch Leerzeichen oder Tabulatoren getrennt sein.</source>
        <translation>Fields may only be separated by spaces or tabs.</translation>
    </message>
    <message>
        <source>Diese @-Kurzform wird von macOS cron nicht unterstützt.</source>
        <translation>macOS cron does not support this @ shortcut.</translation>
    </message>
    <message>
        <source>Diese @-Kurzform wird von cron nicht unterstützt.</source>
        <translation>cron does not support this @ shortcut.</translation>
    </message>
    <message>
        <source>Ein Cron-Zeitplan braucht genau fünf Felder.</source>
        <translation>A cron schedule needs exactly five fields.</translation>
    </message>
</context>
<context>
    <name>CronField</name>
    <message>
        <source>Minute</source>
        <translation>Minute</translation>
    </message>
    <message>
        <source>Stunde</source>
        <translation>Hour</translation>
    </message>
    <message>
        <source>Tag</source>
        <translation>Day</translation>
    </message>
    <message>
        <source>Monat</source>
        <translation>Month</translation>
    </message>
    <message>
        <source>Wochentag</source>
        <translation>Weekday</translation>
    </message>
</context>
<context>
    <name>CronFieldLegend</name>
    <message>
        <source>Minute</source>
        <translation>Minute</translation>
    </message>
    <message>
        <source>Stunde</source>
        <translation>Hour</translation>
    </message>
    <message>
        <source>Tag</source>
        <translation>Day</translation>
    </message>
    <message>
        <source>Monat</source>
        <translation>Month</translation>
    </message>
    <message>
        <source>Wochentag</source>
        <translation>Weekday</translation>
    </message>
</context>
<context>
    <name>CronJob</name>
    <message>
        <source>Unbenannter Job</source>
        <translation>Untitled Job</translation>
    </message>
</context>
<context>
    <name>CronProcessError</name>
    <message>
        <source>„crontab“ konnte nicht gestartet werden.</source>
        <translation>“crontab” could not be started.</translation>
    </message>
    <message>
        <source>Die neue crontab konnte nicht an „crontab“ übergeben werden.</source>
        <translation>The new crontab could not be handed to “crontab”.</translation>
    </message>
    <message>
        <source>Die Ausgabe von „crontab“ konnte nicht empfangen werden.</source>
        <translation>The output of “crontab” could not be received.</translation>
    </message>
</context>
<context>
    <name>CronRepositoryError</name>
    <message>
        <source>Die crontab wurde außerhalb von Tempolane geändert. Bitte neu laden und die Änderung erneut anwenden.</source>
        <translation>The crontab was changed outside Tempolane. Please reload it and make the change again.</translation>
    </message>
</context>
<context>
    <name>CronSessionFailure</name>
    <message>
        <source>cron führt für dieses Konto keinen Cronjob aus, auch diesen nicht: PAM bricht die Sitzung ab, weil in %1, Zeile %2, „%3“ nicht mit „}“ geschlossen ist.</source>
        <translation>cron runs no job for this account, this one included: PAM ends the session because in %1, line %2, “%3” is not closed with “}”.</translation>
    </message>
    <message>
        <source>cron führt für dieses Konto keinen Cronjob aus, auch diesen nicht: PAM bricht die Sitzung ab, weil in %1, Zeile %2, der Wert von %3 länger als 8191 Bytes wird.</source>
        <translation>cron runs no job for this account, this one included: PAM ends the session because in %1, line %2, the value of %3 grows longer than 8191 bytes.</translation>
    </message>
    <message>
        <source>cron führt für dieses Konto keinen Cronjob aus, auch diesen nicht: PAM bricht die Sitzung ab, weil %1 ab Zeile %2 nicht lesbar ist (eine Zeile länger als 8190 Bytes, ein Nullbyte oder eine Fortsetzung, die am Dateiende abbricht).</source>
        <translation>cron runs no job for this account, this one included: PAM ends the session because %1 cannot be read from line %2 on (a line longer than 8190 bytes, a null byte, or a continuation cut off at the end of the file).</translation>
    </message>
</context>
<context>
    <name>CronSystemError</name>
    <message>
        <source>Der Systemdienst „crontab“ konnte die Änderung nicht ausführen.</source>
        <translation>The system tool “crontab” could not make the change.</translation>
    </message>
    <message>
        <source>Die Ausgabe von „crontab“ konnte nicht gelesen werden.</source>
        <translation>The output of “crontab” could not be read.</translation>
    </message>
    <message>
        <source>Die crontab wurde nicht wie gewünscht übernommen: „crontab“ meldet einen anderen Inhalt als den gespeicherten. Bitte neu laden und prüfen.</source>
        <translation>The crontab was not installed as intended: “crontab” reports contents other than those saved. Please reload and check.</translation>
    </message>
    <message>
        <source>Die crontab konnte nicht gelesen werden: „crontab“ wurde unerwartet beendet.</source>
        <translation>The crontab could not be read: “crontab” ended unexpectedly.</translation>
    </message>
    <message>
        <source>Der Systemdienst „crontab“ wurde unerwartet beendet.</source>
        <translation>The system tool “crontab” ended unexpectedly.</translation>
    </message>
    <message>
        <source>Das Programm crontab hat nicht rechtzeitig geantwortet.</source>
        <translation>The crontab program did not answer in time.</translation>
    </message>
    <message>
        <source>Die Ausgabe von „crontab“ ist größer als %1 MiB und wurde nicht gelesen.</source>
        <translation>The output of “crontab” is larger than %1 MiB and was not read.</translation>
    </message>
    <message>
        <source>Die neue crontab wurde nicht übernommen.</source>
        <translation>The new crontab was not installed.</translation>
    </message>
    <message>
        <source>Ob die neue crontab übernommen wurde, ließ sich nicht prüfen. Bitte neu laden und prüfen.</source>
        <translation>Whether the new crontab was installed could not be checked. Please reload and check.</translation>
    </message>
    <message>
        <source>Das Programm „crontab“ hat einen Fehler gemeldet (Status %1).</source>
        <translation>The program “crontab” reported an error (status %1).</translation>
    </message>
</context>
<context>
    <name>DemoCronClient</name>
    <message>
        <source>Bestehende Einträge und Umgebungsvariablen bleiben erhalten</source>
        <translation>Existing entries and environment variables are kept</translation>
    </message>
</context>
<context>
    <name>DesktopCommandLine</name>
    <message>
        <source>Zeigt diese Hilfe.</source>
        <translation>Shows this help.</translation>
    </message>
    <message>
        <source>Zeigt die Version.</source>
        <translation>Shows the version.</translation>
    </message>
    <message>
        <source>Meldet ohne Fenster fehlgeschlagene, abgebrochene und verpasste Cronjobs als Benachrichtigung.</source>
        <translation>Reports failed, interrupted and missed jobs as notifications, without a window.</translation>
    </message>
    <message>
        <source>Zeigt den Cronjob mit dieser ID.</source>
        <translation>Shows the job with this ID.</translation>
    </message>
    <message>
        <source>Tempolane zeigt und bearbeitet die Cronjobs deiner persönlichen crontab. Mit TEMPOLANE_DEMO=1 öffnet es Beispieldaten statt der echten crontab.</source>
        <translation>Tempolane shows and edits the jobs of your personal crontab. With TEMPOLANE_DEMO=1 it opens sample data instead of the real crontab.</translation>
    </message>
    <message>
        <source>Mehr dazu: tempolane --help</source>
        <translation>See tempolane --help</translation>
    </message>
    <message>
        <source>Tempolane erwartet keine weiteren Argumente: %1</source>
        <translation>Tempolane takes no further arguments: %1</translation>
    </message>
    <message>
        <source>Keine gültige Cronjob-ID: %1</source>
        <translation>Not a valid job ID: %1</translation>
    </message>
</context>
<context>
    <name>Dialogs</name>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Details einblenden …</source>
        <translation>Show Details …</translation>
    </message>
    <message>
        <source>Details ausblenden …</source>
        <translation>Hide Details …</translation>
    </message>
</context>
<context>
    <name>DisplayCheck</name>
    <message>
        <source>Tempolane braucht eine grafische Sitzung, aber weder DISPLAY noch WAYLAND_DISPLAY ist gesetzt; im Terminal hilft das Programm tempolane-cli weiter.</source>
        <translation>Tempolane needs a graphical session, but neither DISPLAY nor WAYLAND_DISPLAY is set; in a terminal, the program tempolane-cli can help.</translation>
    </message>
    <message>
        <source>Tempolane braucht eine grafische Sitzung, aber die Anzeige ist nicht erreichbar (%1); im Terminal hilft das Programm tempolane-cli weiter.</source>
        <translation>Tempolane needs a graphical session, but the display cannot be reached (%1); in a terminal, the program tempolane-cli can help.</translation>
    </message>
    <message>
        <source>Tempolane braucht eine grafische Sitzung, aber die Anzeige weist es ab (%1); im Terminal hilft das Programm tempolane-cli weiter.</source>
        <translation>Tempolane needs a graphical session, but the display turns it away (%1); in a terminal, the program tempolane-cli can help.</translation>
    </message>
</context>
<context>
    <name>ExecutionEditor</name>
    <message>
        <source>Letzte Ausführung</source>
        <translation>Last run</translation>
    </message>
    <message>
        <source>Dauer</source>
        <translation>Duration</translation>
    </message>
    <message>
        <source>Nächste Ausführung</source>
        <translation>Next run</translation>
    </message>
    <message>
        <source>Der Status beginnt nach dem Sichern mit der ersten Ausführung.</source>
        <translation>The status starts with the first run after saving.</translation>
    </message>
    <message>
        <source>Änderungen sichern, um den Ausführungsstatus zu aktivieren.</source>
        <translation>Save your changes to start monitoring.</translation>
    </message>
    <message>
        <source>Sichere zuerst deine Änderungen.</source>
        <translation>Save your changes first.</translation>
    </message>
    <message>
        <source>Cronjob einmal sofort ausführen</source>
        <translation>Run the job once, right now</translation>
    </message>
    <message>
        <source>Cronjob jetzt ausführen?</source>
        <translation>Run the job now?</translation>
    </message>
    <message>
        <source>Der gespeicherte Befehl wird sofort gestartet, mit derselben Umgebung, die cron ihm gibt.</source>
        <translation>The saved command starts right away, with the same environment cron gives it.</translation>
    </message>
    <message>
        <source>Jetzt ausführen</source>
        <translation>Run Now</translation>
    </message>
    <message>
        <source>Ausführungsverlauf wirklich löschen?</source>
        <translation>Clear the run history?</translation>
    </message>
    <message>
        <source>Gespeicherte Meldungen und bisherige Ergebnisse dieses Jobs werden unwiderruflich entfernt.</source>
        <translation>This job’s recorded output and past results are removed permanently.</translation>
    </message>
    <message>
        <source>Verlauf löschen</source>
        <translation>Clear History</translation>
    </message>
    <message>
        <source>%1 Sek.</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>%1 Min. %2 Sek.</source>
        <translation>%1 min %2 s</translation>
    </message>
    <message>
        <source>Maximal 100 Ausführungen pro Job, höchstens 30 Tage. Alles bleibt lokal auf diesem Mac.</source>
        <translation>Up to 100 runs per job, for up to 30 days. Everything stays on this Mac.</translation>
    </message>
    <message>
        <source>Maximal 100 Ausführungen pro Job, höchstens 30 Tage. Alles bleibt lokal auf diesem Computer.</source>
        <translation>Up to 100 runs per job, for up to 30 days. Everything stays on this computer.</translation>
    </message>
    <message>
        <source>Der Mac war möglicherweise ausgeschaltet oder im Ruhezustand.</source>
        <translation>The Mac may have been switched off or asleep.</translation>
    </message>
    <message>
        <source>Der Computer war möglicherweise ausgeschaltet oder im Ruhezustand.</source>
        <translation>The computer may have been switched off or asleep.</translation>
    </message>
    <message>
        <source>Meldungen</source>
        <translation>Output</translation>
    </message>
    <message>
        <source>Erfolgreich</source>
        <translation>Succeeded</translation>
    </message>
    <message>
        <source>Fehlgeschlagen</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>Unerwartet beendet</source>
        <translation>Ended unexpectedly</translation>
    </message>
    <message>
        <source>one {Meldungen zeigt das Protokoll nur für die neueste Ausführung.} other {Meldungen zeigt das Protokoll nur für die # neuesten Ausführungen.}</source>
        <translation>one {The history keeps messages only for the newest run.} other {The history keeps messages only for the # newest runs.}</translation>
    </message>
</context>
<context>
    <name>ExecutionLogPolicy</name>
    <message>
        <source>Meldungen und Fehler anzeigen</source>
        <translation>Show output and errors</translation>
    </message>
    <message>
        <source>Nur Fehler anzeigen</source>
        <translation>Show errors only</translation>
    </message>
    <message>
        <source>Keine Meldungen aufzeichnen</source>
        <translation>Record no output</translation>
    </message>
    <message>
        <source>Terminalmeldungen und Fehler werden lokal im Verlauf gespeichert.</source>
        <translation>Terminal output and errors are kept in the local history.</translation>
    </message>
    <message>
        <source>Normale Meldungen werden verworfen; Fehlermeldungen bleiben sichtbar.</source>
        <translation>Normal output is discarded; error messages stay visible.</translation>
    </message>
    <message>
        <source>Nur Zeitpunkt, Dauer und Ergebnis werden gespeichert.</source>
        <translation>Only the time, duration and result are kept.</translation>
    </message>
</context>
<context>
    <name>ExecutionService</name>
    <message>
        <source>Dieser Befehl verwendet ein ungeschütztes Prozentzeichen. Deaktiviere den Ausführungsstatus oder schreibe \% statt %.</source>
        <translation>This command uses an unescaped percent sign. Turn off monitoring or write \% instead of %.</translation>
    </message>
    <message>
        <source>Dieser Befehl ist zu lang für den Ausführungsstatus. Deaktiviere den Ausführungsstatus oder kürze den Befehl.</source>
        <translation>This command is too long to be monitored. Turn off monitoring or shorten the command.</translation>
    </message>
    <message>
        <source>Der Cronjob wurde ausgeführt, ist aber mit einem Fehler beendet worden.</source>
        <translation>The job ran, but ended with an error.</translation>
    </message>
    <message>
        <source>Die Dateien der Ausführungsüberwachung konnten nicht angelegt werden.</source>
        <translation>The files of run monitoring could not be created.</translation>
    </message>
    <message>
        <source>Der Cronjob konnte nicht gestartet werden.</source>
        <translation>The job could not be started.</translation>
    </message>
</context>
<context>
    <name>HistoryCommands</name>
    <message>
        <source>Sicherungen …</source>
        <translation>Backups…</translation>
    </message>
</context>
<context>
    <name>JobEditor</name>
    <message>
        <source>Bitte einen Namen vergeben.</source>
        <translation>Please give the job a name.</translation>
    </message>
    <message>
        <source>Der Name muss in einer einzelnen Zeile stehen.</source>
        <translation>The name must be on a single line.</translation>
    </message>
    <message>
        <source>Der Name darf höchstens 80 Zeichen lang sein.</source>
        <translation>The name may be at most 80 characters long.</translation>
    </message>
    <message>
        <source>Bitte einen Befehl eingeben.</source>
        <translation>Please enter a command.</translation>
    </message>
    <message>
        <source>Ein Cronjob muss in einer einzelnen Zeile stehen.</source>
        <translation>A job’s command must be on a single line.</translation>
    </message>
    <message>
        <source>Neuer Cronjob</source>
        <translation>New Job</translation>
    </message>
    <message>
        <source>Keine Ausführung in den nächsten zwei Jahren.</source>
        <translation>No run in the next two years.</translation>
    </message>
</context>
<context>
    <name>JobEditorModel</name>
    <message>
        <source>Schreibe stattdessen „%1“.</source>
        <translation>Write “%1” instead.</translation>
    </message>
    <message>
        <source>Cronjob anlegen</source>
        <translation>Create Job</translation>
    </message>
    <message>
        <source>Änderungen sichern</source>
        <translation>Save Changes</translation>
    </message>
    <message>
        <source>Die crontab wurde inzwischen außerhalb von Tempolane geändert. Deine Änderungen an diesem Cronjob sind erhalten, aber noch nicht gesichert.</source>
        <translation>The crontab was changed outside Tempolane meanwhile. Your changes to this job are kept, but not saved yet.</translation>
    </message>
    <message>
        <source>Diesen Cronjob gibt es in der crontab nicht mehr: Er wurde außerhalb von Tempolane entfernt oder umgeschrieben. Deine Änderungen sind hier erhalten; „%1“ legt ihn neu an.</source>
        <translation>This cron job is no longer in the crontab: it was removed or rewritten outside Tempolane. Your changes are kept here; “%1” creates it again.</translation>
    </message>
</context>
<context>
    <name>JobExecutionState</name>
    <message>
        <source>Fehler bei der letzten Ausführung</source>
        <translation>Run failed</translation>
    </message>
    <message>
        <source>Ausführungsstatus nicht aktiviert</source>
        <translation>Not monitored</translation>
    </message>
    <message>
        <source>Wartet auf die erste Ausführung</source>
        <translation>Waiting for the first run</translation>
    </message>
    <message>
        <source>Wird gerade ausgeführt</source>
        <translation>Running</translation>
    </message>
    <message>
        <source>Letzte Ausführung erfolgreich</source>
        <translation>Run succeeded</translation>
    </message>
    <message>
        <source>Ausführung wurde unerwartet beendet</source>
        <translation>Run ended unexpectedly</translation>
    </message>
    <message>
        <source>Geplante Ausführung nicht erkannt</source>
        <translation>Scheduled run not seen</translation>
    </message>
</context>
<context>
    <name>JobFilter</name>
    <message>
        <source>Alle Jobs</source>
        <translation>All Jobs</translation>
    </message>
    <message>
        <source>Aktiv</source>
        <translation>Active</translation>
    </message>
    <message>
        <source>Pausiert</source>
        <translation>Paused</translation>
    </message>
    <message>
        <source>Fehler</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>Probleme</source>
        <translation>Problems</translation>
    </message>
</context>
<context>
    <name>JobRow</name>
    <message>
        <source>Pausiert</source>
        <translation>Paused</translation>
    </message>
</context>
<context>
    <name>NetworkFailure</name>
    <message>
        <source>Der Update-Server wurde nicht gefunden. Prüfe die Internetverbindung.</source>
        <translation>The update server was not found. Check the internet connection.</translation>
    </message>
    <message>
        <source>Keine Verbindung zum Update-Server. Prüfe die Internetverbindung.</source>
        <translation>No connection to the update server. Check the internet connection.</translation>
    </message>
    <message>
        <source>Der Update-Server hat nicht rechtzeitig geantwortet.</source>
        <translation>The update server did not answer in time.</translation>
    </message>
    <message>
        <source>Die sichere Verbindung zum Update-Server ist fehlgeschlagen.</source>
        <translation>The secure connection to the update server failed.</translation>
    </message>
    <message>
        <source>Der Proxy-Server verhindert die Verbindung zum Update-Server.</source>
        <translation>The proxy server prevents the connection to the update server.</translation>
    </message>
    <message>
        <source>Der Update-Server hat mit dem HTTP-Status %1 geantwortet.</source>
        <translation>The update server answered with HTTP status %1.</translation>
    </message>
    <message>
        <source>Der Update-Feed konnte nicht geladen werden.</source>
        <translation>The update feed could not be loaded.</translation>
    </message>
</context>
<context>
    <name>Notification</name>
    <message>
        <source>„%1“ ist fehlgeschlagen</source>
        <translation>“%1” failed</translation>
    </message>
    <message>
        <source>Exit-Status %1</source>
        <translation>Exit status %1</translation>
    </message>
    <message>
        <source>„%1“ wurde unerwartet beendet</source>
        <translation>“%1” ended unexpectedly</translation>
    </message>
    <message>
        <source>Die Ausführung hat kein Ende aufgezeichnet.</source>
        <translation>The run never recorded its end.</translation>
    </message>
    <message>
        <source>„%1“ wurde nicht ausgeführt</source>
        <translation>“%1” did not run</translation>
    </message>
    <message>
        <source>Fällig war: %1</source>
        <translation>Due: %1</translation>
    </message>
    <message>
        <source>one {# Cronjob braucht Aufmerksamkeit} other {# Cronjobs brauchen Aufmerksamkeit}</source>
        <translation>one {# job needs attention} other {# jobs need attention}</translation>
    </message>
    <message>
        <source>„%1“</source>
        <translation>“%1”</translation>
    </message>
</context>
<context>
    <name>NotificationMenu</name>
    <message>
        <source>Benachrichtigungen konnten nicht umgeschaltet werden</source>
        <translation>Notifications could not be switched on or off</translation>
    </message>
    <message>
        <source>Benachrichtigungen bei Fehlern</source>
        <translation>Notify Me of Failures</translation>
    </message>
    <message>
        <source>Bei Fehlern benachrichtigen?</source>
        <translation>Notify you of failures?</translation>
    </message>
    <message>
        <source>Tempolane kann dir eine Mitteilung zeigen, wenn ein Cronjob fehlschlägt, unerwartet beendet wird oder nicht ausgeführt wurde – auch wenn das Fenster geschlossen ist.</source>
        <translation>Tempolane can tell you when a job fails, ends unexpectedly or did not run – even while the window is closed.</translation>
    </message>
    <message>
        <source>Benachrichtigen</source>
        <translation>Notify Me</translation>
    </message>
    <message>
        <source>Nicht jetzt</source>
        <translation>Not Now</translation>
    </message>
    <message>
        <source>Benachrichtigungen umgeschaltet</source>
        <translation>Notifications switched</translation>
    </message>
</context>
<context>
    <name>NotificationSwitch</name>
    <message>
        <source>Tempolane-Benachrichtigungen</source>
        <translation>Tempolane Notifications</translation>
    </message>
    <message>
        <source>Meldet fehlgeschlagene, abgebrochene und verpasste Cronjobs</source>
        <translation>Reports failed, interrupted and missed jobs</translation>
    </message>
    <message>
        <source>Der Pfad des Programms kann nicht in den Autostart: %1</source>
        <translation>The program’s path cannot go into autostart: %1</translation>
    </message>
    <message>
        <source>Das Programm %1 wurde nicht gefunden.</source>
        <translation>The program %1 was not found.</translation>
    </message>
    <message>
        <source>Der Ordner %1 kann nicht angelegt werden.</source>
        <translation>The folder %1 cannot be created.</translation>
    </message>
    <message>
        <source>%1 konnte nicht gestartet werden.</source>
        <translation>%1 could not be started.</translation>
    </message>
    <message>
        <source>Ein Verweis an der Stelle des Autostart-Eintrags auf %1 wurde durch den Eintrag ersetzt; die Datei selbst bleibt unverändert.</source>
        <translation>A link to %1 in place of the autostart entry was replaced by the entry; the file itself stays unchanged.</translation>
    </message>
    <message>
        <source>Ein Autostart-Eintrag gleichen Namens, der nicht von Tempolane stammt, wurde ersetzt; er startete: %1</source>
        <translation>An autostart entry of the same name that Tempolane did not write was replaced; it started: %1</translation>
    </message>
    <message>
        <source>Ein Verweis an der Stelle des Autostart-Eintrags auf %1 wurde entfernt; die Datei selbst bleibt unverändert.</source>
        <translation>A link to %1 in place of the autostart entry was removed; the file itself stays unchanged.</translation>
    </message>
    <message>
        <source>Ein Autostart-Eintrag gleichen Namens, der nicht von Tempolane stammt, wurde entfernt; er startete: %1</source>
        <translation>An autostart entry of the same name that Tempolane did not write was removed; it started: %1</translation>
    </message>
</context>
<context>
    <name>PrivateFiles</name>
    <message>
        <source>Der Ordner „%1“ gehört einem anderen Benutzer, der dort Dateien ablegen kann. Tempolane verwendet ihn deshalb nicht.</source>
        <translation>The folder “%1” belongs to another user, who can put files there. Tempolane therefore does not use it.</translation>
    </message>
</context>
<context>
    <name>ProblemBanner</name>
    <message>
        <source>one {Ein weiterer Hinweis: tempolane-cli check zeigt alle.} other {# weitere Hinweise: tempolane-cli check zeigt alle.}</source>
        <translation>one {One more hint: tempolane-cli check shows them all.} other {# more hints: tempolane-cli check shows them all.}</translation>
    </message>
</context>
<context>
    <name>RunChart</name>
    <message>
        <source>Das Diagramm der Laufzeiten erscheint nach der zweiten Ausführung.</source>
        <translation>The chart of run times appears after the second run.</translation>
    </message>
    <message>
        <source>one {Laufzeit der letzten Ausführung} other {Laufzeiten der letzten # Ausführungen}</source>
        <translation>one {Run time of the last run} other {Run times of the last # runs}</translation>
    </message>
    <message>
        <source>Median: %1</source>
        <translation>Median: %1</translation>
    </message>
    <message>
        <source>Langsamste Ausführung: %1, %2</source>
        <translation>Slowest run: %1, %2</translation>
    </message>
    <message>
        <source>%1: erfolgreich, Dauer %2</source>
        <translation>%1: succeeded, took %2</translation>
    </message>
    <message>
        <source>%1: fehlgeschlagen mit Exit-Code %2, Dauer %3</source>
        <translation>%1: failed with exit code %2, took %3</translation>
    </message>
    <message>
        <source>%1: unerwartet beendet.</source>
        <translation>%1: ended unexpectedly.</translation>
    </message>
    <message>
        <source>%1: läuft seit %2</source>
        <translation>%1: running for %2</translation>
    </message>
    <message>
        <source>one {%1: # geplante Ausführung nicht erkannt.} other {Ab %1: # geplante Ausführungen nicht erkannt.}</source>
        <translation>one {%1: # scheduled run not seen.} other {From %1: # scheduled runs not seen.}</translation>
    </message>
</context>
<context>
    <name>RunRecords</name>
    <message>
        <source>other {# erfolgreich}</source>
        <translation>other {# succeeded}</translation>
    </message>
    <message>
        <source>other {# fehlgeschlagen}</source>
        <translation>other {# failed}</translation>
    </message>
    <message>
        <source>other {# unerwartet beendet}</source>
        <translation>other {# ended unexpectedly}</translation>
    </message>
    <message>
        <source>other {# nicht erkannt}</source>
        <translation>other {# not seen}</translation>
    </message>
    <message>
        <source>one {# läuft gerade} other {# laufen gerade}</source>
        <translation>one {# running} other {# running}</translation>
    </message>
    <message>
        <source>keine Ausführungen aufgezeichnet</source>
        <translation>no runs recorded</translation>
    </message>
</context>
<context>
    <name>ScheduleEditorMode</name>
    <message>
        <source>Visuell</source>
        <translation>Visual</translation>
    </message>
    <message>
        <source>Cron-Syntax</source>
        <translation>Cron Syntax</translation>
    </message>
</context>
<context>
    <name>ScheduleFrequency</name>
    <message>
        <source>Minuten</source>
        <translation>Minutes</translation>
    </message>
    <message>
        <source>Stündlich</source>
        <translation>Hourly</translation>
    </message>
    <message>
        <source>Täglich</source>
        <translation>Daily</translation>
    </message>
    <message>
        <source>Wöchentlich</source>
        <translation>Weekly</translation>
    </message>
    <message>
        <source>Monatlich</source>
        <translation>Monthly</translation>
    </message>
</context>
<context>
    <name>SettingsLock</name>
    <message>
        <source>Tempolane: Die Einstellungen bleiben ungespeichert, weil die Sperre %1 weder genommen noch entfernt werden kann.</source>
        <translation>Tempolane: the settings stay unsaved because the lock %1 can be neither taken nor removed.</translation>
    </message>
</context>
<context>
    <name>ShownDiff</name>
    <message>
        <source>Kein Zeilenumbruch am Dateiende</source>
        <translation>No newline at end of file</translation>
    </message>
    <message>
        <source>unverändert</source>
        <translation>unchanged</translation>
    </message>
</context>
<context>
    <name>ShownFinding</name>
    <message>
        <source>Zeile %1: %2</source>
        <translation>Line %1: %2</translation>
    </message>
    <message>
        <source>one {# Zeile deiner Crontab läuft nie} other {# Zeilen deiner Crontab laufen nie}</source>
        <translation>one {# line of your crontab never runs} other {# lines of your crontab never run}</translation>
    </message>
    <message>
        <source>one {# Zeile deiner Crontab braucht einen Blick} other {# Zeilen deiner Crontab brauchen einen Blick}</source>
        <translation>one {# line of your crontab needs a look} other {# lines of your crontab need a look}</translation>
    </message>
</context>
<context>
    <name>Tempolane::AboutWindow</name>
    <message>
        <source>Über Tempolane</source>
        <translation>About Tempolane</translation>
    </message>
    <message>
        <source>Lokale Zeitpläne. Einfach im Blick.</source>
        <translation>Local schedules at a glance.</translation>
    </message>
</context>
<context>
    <name>Tempolane::BackgroundWatcher</name>
    <message>
        <source>Tempolane-Benachrichtigungen: keine D-Bus-Sitzung erreichbar; beim nächsten Anmelden wird es erneut versucht.</source>
        <translation>Tempolane notifications: no D-Bus session can be reached; the next login tries again.</translation>
    </message>
    <message>
        <source>Tempolane-Benachrichtigungen: kein Benachrichtigungsdienst (org.freedesktop.Notifications) in dieser Sitzung; beim nächsten Anmelden wird es erneut versucht.</source>
        <translation>Tempolane notifications: no notification service (org.freedesktop.Notifications) in this session; the next login tries again.</translation>
    </message>
</context>
<context>
    <name>Tempolane::BackupListModel</name>
    <message>
        <source>Unbrauchbar</source>
        <translation>Unusable</translation>
    </message>
    <message>
        <source>Gesichert</source>
        <translation>Backed Up</translation>
    </message>
    <message>
        <source>Jobs</source>
        <translation>Jobs</translation>
    </message>
    <message>
        <source>Unterschied</source>
        <translation>Changes</translation>
    </message>
    <message>
        <source>Sicherungen werden gelesen …</source>
        <translation>Reading backups…</translation>
    </message>
    <message>
        <source>Die Sicherungen konnten nicht gelesen werden: %1</source>
        <translation>The backups could not be read: %1</translation>
    </message>
    <message>
        <source>Noch keine Sicherungen. Tempolane sichert die crontab vor jeder Änderung.</source>
        <translation>No backups yet. Tempolane backs up the crontab before every change.</translation>
    </message>
    <message>
        <source>Wähle eine Sicherung aus.</source>
        <translation>Choose a backup.</translation>
    </message>
    <message>
        <source>Diese Datei kann nicht wiederhergestellt werden: %1.</source>
        <translation>This file cannot be restored: %1.</translation>
    </message>
    <message>
        <source>Diese Sicherung entspricht der aktuellen crontab.</source>
        <translation>This backup matches the current crontab.</translation>
    </message>
</context>
<context>
    <name>Tempolane::BackupsDialog</name>
    <message>
        <source>Sicherungen</source>
        <translation>Backups</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Wiederherstellen</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>Vor jeder Änderung sichert Tempolane die bisherige crontab; die 20 neuesten bleiben.</source>
        <translation>Before every change, Tempolane backs up the crontab as it was; the 20 newest backups are kept.</translation>
    </message>
    <message>
        <source>Beim Wiederherstellen</source>
        <translation>When Restored</translation>
    </message>
    <message>
        <source>Grüne Zeilen kämen in die crontab, rote fielen weg.</source>
        <translation>Green lines would be added to the crontab, red ones removed.</translation>
    </message>
    <message>
        <source>Unterschiede zur aktuellen crontab</source>
        <translation>Differences from the current crontab</translation>
    </message>
    <message>
        <source>Crontab durch diese Sicherung ersetzen?</source>
        <translation>Replace the crontab with this backup?</translation>
    </message>
    <message>
        <source>Die aktuelle Crontab wird vorher gesichert.</source>
        <translation>The current crontab is backed up first.</translation>
    </message>
</context>
<context>
    <name>Tempolane::CommandSection</name>
    <message>
        <source>Pfade mit Leerzeichen bitte in Anführungszeichen setzen.</source>
        <translation>Put paths with spaces in quotes.</translation>
    </message>
    <message>
        <source>Auszuführender Befehl</source>
        <translation>Command to run</translation>
    </message>
</context>
<context>
    <name>Tempolane::CronStore</name>
    <message>
        <source>Crontab konnte nicht geladen werden</source>
        <translation>The crontab could not be loaded</translation>
    </message>
    <message>
        <source>Cronjob konnte nicht erfolgreich ausgeführt werden</source>
        <translation>The job could not be run successfully</translation>
    </message>
    <message>
        <source>Ausführungsstatus konnte nicht aktiviert werden</source>
        <translation>Monitoring could not be turned on</translation>
    </message>
    <message>
        <source>Sicherung konnte nicht wiederhergestellt werden</source>
        <translation>The backup could not be restored</translation>
    </message>
    <message>
        <source>Änderung konnte nicht rückgängig gemacht werden</source>
        <translation>The change could not be undone</translation>
    </message>
    <message>
        <source>Änderung konnte nicht wiederholt werden</source>
        <translation>The change could not be redone</translation>
    </message>
    <message>
        <source>Kopie</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Cronjob konnte nicht angelegt werden</source>
        <translation>The job could not be created</translation>
    </message>
    <message>
        <source>Cronjob konnte nicht gespeichert werden</source>
        <translation>The job could not be saved</translation>
    </message>
    <message>
        <source>Cronjob konnte nicht gelöscht werden</source>
        <translation>The job could not be deleted</translation>
    </message>
    <message>
        <source>Die Korrektur konnte nicht gesichert werden</source>
        <translation>The fix could not be saved</translation>
    </message>
</context>
<context>
    <name>Tempolane::CrontabChecking</name>
    <message>
        <source>Die Datei konnte nicht ausführbar gemacht werden</source>
        <translation>The file could not be made executable</translation>
    </message>
    <message>
        <source>Die Zugriffsrechte von „%1“ konnten nicht geändert werden.</source>
        <translation>The permissions of “%1” could not be changed.</translation>
    </message>
</context>
<context>
    <name>Tempolane::EmptyStateView</name>
    <message>
        <source>Cronjob anlegen</source>
        <translation>Create Job</translation>
    </message>
</context>
<context>
    <name>Tempolane::ExecutionEditor</name>
    <message>
        <source>Ausführungsstatus</source>
        <translation>Monitor runs</translation>
    </message>
    <message>
        <source>Tempolane erkennt erfolgreiche und fehlgeschlagene Ausführungen, auch wenn die App geschlossen ist.</source>
        <translation>Tempolane tracks successful and failed runs, even while the app is closed.</translation>
    </message>
    <message>
        <source>Ausführungsprotokoll</source>
        <translation>Run History</translation>
    </message>
    <message>
        <source>Protokoll</source>
        <translation>Logging</translation>
    </message>
    <message>
        <source>Jetzt testen</source>
        <translation>Test Now</translation>
    </message>
    <message>
        <source>Verlauf löschen</source>
        <translation>Clear History</translation>
    </message>
</context>
<context>
    <name>Tempolane::ExecutionHistoryModel</name>
    <message>
        <source>Für diese Ausführung wurden keine Meldungen aufgezeichnet.</source>
        <translation>No output was recorded for this run.</translation>
    </message>
    <message>
        <source>%1 – %2</source>
        <translation>%1 – %2</translation>
    </message>
</context>
<context>
    <name>Tempolane::ExecutionHistoryView</name>
    <message>
        <source>Ausführungsprotokoll</source>
        <translation>Run History</translation>
    </message>
</context>
<context>
    <name>Tempolane::JobEditorHeader</name>
    <message>
        <source>Job aktiv</source>
        <translation>Job active</translation>
    </message>
    <message>
        <source>Name des Cronjobs</source>
        <translation>Job name</translation>
    </message>
</context>
<context>
    <name>Tempolane::JobEditorView</name>
    <message>
        <source>Zeitplan</source>
        <translation>Schedule</translation>
    </message>
    <message>
        <source>Grafisch zusammenstellen oder direkt als Cron-Ausdruck bearbeiten.</source>
        <translation>Build it visually or edit it directly as a cron expression.</translation>
    </message>
    <message>
        <source>Befehl</source>
        <translation>Command</translation>
    </message>
    <message>
        <source>Wird von cron mit der konfigurierten Shell ausgeführt.</source>
        <translation>cron runs it with the configured shell.</translation>
    </message>
    <message>
        <source>Ausführungen</source>
        <translation>Runs</translation>
    </message>
    <message>
        <source>Erfolge, Fehler und Meldungen verständlich im Blick behalten.</source>
        <translation>Successes, failures and output at a glance.</translation>
    </message>
    <message>
        <source>Löschen</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Duplizieren</source>
        <translation>Duplicate</translation>
    </message>
    <message>
        <source>Zurücksetzen</source>
        <translation>Revert</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Hinweise</source>
        <translation>Hints</translation>
    </message>
    <message>
        <source>Was cron mit diesem Job tun wird.</source>
        <translation>What cron will do with this job.</translation>
    </message>
</context>
<context>
    <name>Tempolane::JobListView</name>
    <message>
        <source>Cronjobs</source>
        <translation>Jobs</translation>
    </message>
    <message>
        <source>Pausieren</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Fortsetzen</source>
        <translation>Resume</translation>
    </message>
    <message>
        <source>Duplizieren</source>
        <translation>Duplicate</translation>
    </message>
    <message>
        <source>Löschen</source>
        <translation>Delete</translation>
    </message>
</context>
<context>
    <name>Tempolane::MainWindow</name>
    <message>
        <source>&amp;Datei</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>Beenden</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>&amp;Bearbeiten</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>&amp;Hilfe</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>Über Tempolane</source>
        <translation>About Tempolane</translation>
    </message>
    <message>
        <source>Neuer Cronjob</source>
        <translation>New Job</translation>
    </message>
    <message>
        <source>Neu</source>
        <translation>New</translation>
    </message>
    <message>
        <source>Neuen Cronjob anlegen</source>
        <translation>Create a new job</translation>
    </message>
    <message>
        <source>Cronjob duplizieren</source>
        <translation>Duplicate Job</translation>
    </message>
    <message>
        <source>Crontab aktualisieren</source>
        <translation>Reload Crontab</translation>
    </message>
    <message>
        <source>Aktualisieren</source>
        <translation>Reload</translation>
    </message>
    <message>
        <source>System-crontab neu laden</source>
        <translation>Reload the system crontab</translation>
    </message>
    <message>
        <source>Werkzeugleiste</source>
        <translation>Toolbar</translation>
    </message>
    <message>
        <source>Suche</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>Befehl oder Zeitplan</source>
        <translation>Command or schedule</translation>
    </message>
    <message>
        <source>Neu laden</source>
        <translation>Reload</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Zeitleiste</source>
        <translation>Timeline</translation>
    </message>
    <message>
        <source>Zeitleiste aller Jobs zeigen</source>
        <translation>Show the timeline of all jobs</translation>
    </message>
</context>
<context>
    <name>Tempolane::MonitoringSuggestion</name>
    <message>
        <source>Aktivieren</source>
        <translation>Turn On</translation>
    </message>
    <message>
        <source>Ausführungsstatus aktivieren?</source>
        <translation>Turn on monitoring?</translation>
    </message>
    <message>
        <source>Tempolane kann Erfolge und Fehler erkennen und Cron-Mails vermeiden.</source>
        <translation>Tempolane can track successes and failures and spare you cron’s emails.</translation>
    </message>
    <message>
        <source>Nicht jetzt</source>
        <translation>Not Now</translation>
    </message>
</context>
<context>
    <name>Tempolane::NotificationSender</name>
    <message>
        <source>Anzeigen</source>
        <translation>Show</translation>
    </message>
</context>
<context>
    <name>Tempolane::RunChartView</name>
    <message>
        <source>Laufzeiten der letzten Ausführungen</source>
        <translation>Run times of the last runs</translation>
    </message>
</context>
<context>
    <name>Tempolane::ScheduleSection</name>
    <message>
        <source>Editor</source>
        <translation>Editor</translation>
    </message>
    <message>
        <source>Minute Stunde Tag Monat Wochentag</source>
        <translation>minute hour day month weekday</translation>
    </message>
    <message>
        <source>Nächste Ausführungen</source>
        <translation>Next runs</translation>
    </message>
</context>
<context>
    <name>Tempolane::Sidebar</name>
    <message>
        <source>Lokale Zeitpläne</source>
        <translation>Local schedules</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Filters</translation>
    </message>
</context>
<context>
    <name>Tempolane::TimelineCanvas</name>
    <message>
        <source>Zeitleiste</source>
        <translation>Timeline</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Keine aktiven Cronjobs in dieser Auswahl.</source>
        <translation>No active jobs in this selection.</translation>
    </message>
    <message>
        <source>jetzt</source>
        <translation>now</translation>
    </message>
</context>
<context>
    <name>Tempolane::TimelineView</name>
    <message>
        <source>24 Stunden</source>
        <translation>24 hours</translation>
    </message>
    <message>
        <source>7 Tage</source>
        <translation>7 days</translation>
    </message>
    <message>
        <source>Zeitleiste</source>
        <translation>Timeline</translation>
    </message>
    <message>
        <source>Zeitraum</source>
        <translation>Range</translation>
    </message>
</context>
<context>
    <name>Tempolane::UpdateController</name>
    <message>
        <source>Der Update-Server hat nicht rechtzeitig geantwortet.</source>
        <translation>The update server did not answer in time.</translation>
    </message>
    <message>
        <source>Die Adresse des Update-Feeds ist ungültig oder nicht über HTTPS erreichbar.</source>
        <translation>The address of the update feed is invalid or cannot be reached over HTTPS.</translation>
    </message>
    <message>
        <source>Der Update-Server leitet auf eine Adresse um, die nicht über HTTPS erreichbar ist.</source>
        <translation>The update server redirects to an address that cannot be reached over HTTPS.</translation>
    </message>
    <message>
        <source>Der Update-Feed ist zu groß.</source>
        <translation>The update feed is too large.</translation>
    </message>
</context>
<context>
    <name>Tempolane::VisualScheduleEditor</name>
    <message>
        <source>Wiederholung</source>
        <translation>Repeat</translation>
    </message>
    <message>
        <source>Intervall</source>
        <translation>Interval</translation>
    </message>
    <message>
        <source>Startminute</source>
        <translation>Start minute</translation>
    </message>
    <message>
        <source>Uhrzeit</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Kalendertag</source>
        <translation>Day of month</translation>
    </message>
</context>
<context>
    <name>Timeline</name>
    <message>
        <source>one {stündlich} other {alle # Stunden}</source>
        <translation>one {hourly} other {every # hours}</translation>
    </message>
    <message>
        <source>one {jede Minute} other {alle # Minuten}</source>
        <translation>one {every minute} other {every # minutes}</translation>
    </message>
    <message>
        <source>one {etwa stündlich} other {etwa alle # Stunden}</source>
        <translation>one {about hourly} other {about every # hours}</translation>
    </message>
    <message>
        <source>one {etwa jede Minute} other {etwa alle # Minuten}</source>
        <translation>one {about every minute} other {about every # minutes}</translation>
    </message>
    <message>
        <source>one {# weiterer} other {# weitere}</source>
        <translation>one {# more} other {# more}</translation>
    </message>
    <message>
        <source>keine Ausführungen</source>
        <translation>no runs</translation>
    </message>
    <message>
        <source>%1 von %2</source>
        <translation>%1 from %2</translation>
    </message>
    <message>
        <source>one {# Ausführung} other {# Ausführungen}</source>
        <translation>one {# run} other {# runs}</translation>
    </message>
    <message>
        <source>one {# Job} other {# Jobs}</source>
        <translation>one {# job} other {# jobs}</translation>
    </message>
    <message>
        <source>one {%1, %2 bis %3: # Ausführung, %4.} other {%1, %2 bis %3: # Ausführungen, %4.}</source>
        <translation>one {%1, %2 to %3: # run, %4.} other {%1, %2 to %3: # runs, %4.}</translation>
    </message>
    <message>
        <source>one {%1, %2 bis %3: # Ausführung erfolgreich.} other {%1, %2 bis %3: # Ausführungen erfolgreich.}</source>
        <translation>one {%1, %2 to %3: # run succeeded.} other {%1, %2 to %3: # runs succeeded.}</translation>
    </message>
    <message>
        <source>one {%1, %2 bis %3: # Ausführung fehlgeschlagen.} other {%1, %2 bis %3: # Ausführungen fehlgeschlagen.}</source>
        <translation>one {%1, %2 to %3: # run failed.} other {%1, %2 to %3: # runs failed.}</translation>
    </message>
    <message>
        <source>one {%1, %2 bis %3: # Ausführung unerwartet beendet.} other {%1, %2 bis %3: # Ausführungen unerwartet beendet.}</source>
        <translation>one {%1, %2 to %3: # run ended unexpectedly.} other {%1, %2 to %3: # runs ended unexpectedly.}</translation>
    </message>
    <message>
        <source>one {%1, %2 bis %3: # Ausführung nicht erkannt.} other {%1, %2 bis %3: # Ausführungen nicht erkannt.}</source>
        <translation>one {%1, %2 to %3: # run not seen.} other {%1, %2 to %3: # runs not seen.}</translation>
    </message>
    <message>
        <source>Keine Ausführung in diesem Zeitraum.</source>
        <translation>No run in this range.</translation>
    </message>
    <message>
        <source>Läuft nur beim Systemstart.</source>
        <translation>Runs only when the computer starts.</translation>
    </message>
    <message>
        <source>Nächste 24 Stunden: %1</source>
        <translation>Next 24 hours: %1</translation>
    </message>
    <message>
        <source>Nächste 7 Tage: %1</source>
        <translation>Next 7 days: %1</translation>
    </message>
    <message>
        <source>one {# weiterer Hinweis} other {# weitere Hinweise}</source>
        <translation>one {# more note} other {# more notes}</translation>
    </message>
    <message>
        <source>Vergangene 24 Stunden: %1</source>
        <translation>Past 24 hours: %1</translation>
    </message>
    <message>
        <source>Vergangene 7 Tage: %1</source>
        <translation>Past 7 days: %1</translation>
    </message>
    <message>
        <source>Überschneidung um %1: %2</source>
        <translation>Overlap at %1: %2</translation>
    </message>
    <message>
        <source>one {Um %1 startet # Job: %2} other {Um %1 starten # Jobs: %2}</source>
        <translation>one {At %1, # job starts: %2} other {At %1, # jobs start: %2}</translation>
    </message>
    <message>
        <source>%1, %2: geplant.</source>
        <translation>%1, %2: planned.</translation>
    </message>
    <message>
        <source>Dauert meist %1</source>
        <translation>Usually takes %1</translation>
    </message>
    <message>
        <source>%1, %2: erfolgreich.</source>
        <translation>%1, %2: succeeded.</translation>
    </message>
    <message>
        <source>%1, %2: fehlgeschlagen mit Exit-Code %3.</source>
        <translation>%1, %2: failed with exit code %3.</translation>
    </message>
    <message>
        <source>%1, %2: unerwartet beendet.</source>
        <translation>%1, %2: ended unexpectedly.</translation>
    </message>
    <message>
        <source>%1, %2: läuft gerade.</source>
        <translation>%1, %2: running now.</translation>
    </message>
    <message>
        <source>%1, %2: nicht erkannt.</source>
        <translation>%1, %2: not seen.</translation>
    </message>
    <message>
        <source>Dauer: %1</source>
        <translation>Duration: %1</translation>
    </message>
</context>
<context>
    <name>UndoCommands</name>
    <message>
        <source>%1: %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <source>Die crontab wurde seitdem geändert.</source>
        <translation>The crontab has changed since.</translation>
    </message>
    <message>
        <source>Anlegen von „%1“</source>
        <translation>Creating “%1”</translation>
    </message>
    <message>
        <source>Änderungen an „%1“</source>
        <translation>Changes to “%1”</translation>
    </message>
    <message>
        <source>Pausieren von „%1“</source>
        <translation>Pausing “%1”</translation>
    </message>
    <message>
        <source>Fortsetzen von „%1“</source>
        <translation>Resuming “%1”</translation>
    </message>
    <message>
        <source>Löschen von „%1“</source>
        <translation>Deleting “%1”</translation>
    </message>
    <message>
        <source>Aktivieren des Ausführungsstatus</source>
        <translation>Turning On Monitoring</translation>
    </message>
    <message>
        <source>Wiederherstellen einer Sicherung</source>
        <translation>Restoring a Backup</translation>
    </message>
    <message>
        <source>Rückgängig</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>Wiederholen</source>
        <translation>Redo</translation>
    </message>
</context>
<context>
    <name>UpdateCheckTexts</name>
    <message>
        <source>Suche nach Updates …</source>
        <translation>Checking for Updates…</translation>
    </message>
    <message>
        <source>Nach Updates suchen …</source>
        <translation>Check for Updates…</translation>
    </message>
    <message>
        <source>Installiert ist %1. Installiere das Update mit der Paketverwaltung.</source>
        <translation>Installed: %1. Install the update with your package manager.</translation>
    </message>
</context>
<context>
    <name>UpdateCommands</name>
    <message>
        <source>Tempolane %1 ist verfügbar.</source>
        <translation>Tempolane %1 is available.</translation>
    </message>
    <message>
        <source>Download-Seite öffnen</source>
        <translation>Open Download Page</translation>
    </message>
    <message>
        <source>Später</source>
        <translation>Later</translation>
    </message>
    <message>
        <source>Tempolane ist auf dem neuesten Stand.</source>
        <translation>Tempolane is up to date.</translation>
    </message>
    <message>
        <source>%1 ist die neueste verfügbare Version.</source>
        <translation>%1 is the newest version available.</translation>
    </message>
    <message>
        <source>Die Suche nach Updates ist fehlgeschlagen.</source>
        <translation>The check for updates failed.</translation>
    </message>
</context>
<context>
    <name>VisualScheduleEditor</name>
    <message>
        <source>Minute </source>
        <translation>Minute </translation>
    </message>
    <message>
        <source>So</source>
        <translation>Sun</translation>
    </message>
    <message>
        <source>Mo</source>
        <translation>Mon</translation>
    </message>
    <message>
        <source>Di</source>
        <translation>Tue</translation>
    </message>
    <message>
        <source>Mi</source>
        <translation>Wed</translation>
    </message>
    <message>
        <source>Do</source>
        <translation>Thu</translation>
    </message>
    <message>
        <source>Fr</source>
        <translation>Fri</translation>
    </message>
    <message>
        <source>Sa</source>
        <translation>Sat</translation>
    </message>
    <message>
        <source>%1. Tag</source>
        <translation>Day %1</translation>
    </message>
</context>
<context>
    <name>WindowPresentation</name>
    <message>
        <source>Noch keine Cronjobs</source>
        <translation>No Jobs Yet</translation>
    </message>
    <message>
        <source>Lege deinen ersten Zeitplan mit dem Plus an.</source>
        <translation>Create your first schedule with the + button.</translation>
    </message>
    <message>
        <source>Keine Treffer</source>
        <translation>No Matches</translation>
    </message>
    <message>
        <source>Passe Suche oder Filter an.</source>
        <translation>Try a different search or filter.</translation>
    </message>
    <message>
        <source>Cronjob auswählen</source>
        <translation>Choose a Job</translation>
    </message>
    <message>
        <source>Wähle links einen Eintrag aus oder lege einen neuen an.</source>
        <translation>Choose an entry on the left or create a new one.</translation>
    </message>
    <message>
        <source>%1 – %2</source>
        <translation>%1 – %2</translation>
    </message>
    <message>
        <source>Wird synchronisiert</source>
        <translation>Syncing</translation>
    </message>
    <message>
        <source>Aktualisiert %1</source>
        <translation>Updated %1</translation>
    </message>
    <message>
        <source>System-crontab</source>
        <translation>System crontab</translation>
    </message>
    <message>
        <source>Cronjob wirklich löschen?</source>
        <translation>Delete this job?</translation>
    </message>
    <message>
        <source>„%1“ wird aus der lokalen crontab entfernt. Vorher wird automatisch ein Backup angelegt.</source>
        <translation>“%1” will be removed from your crontab. A backup is made first.</translation>
    </message>
    <message>
        <source>Cronjob löschen</source>
        <translation>Delete Job</translation>
    </message>
    <message>
        <source>Änderungen an „%1“ sichern?</source>
        <translation>Save the changes to “%1”?</translation>
    </message>
    <message>
        <source>Sichern</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Verwerfen</source>
        <translation>Discard</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Neuen Cronjob verwerfen?</source>
        <translation>Discard the new job?</translation>
    </message>
    <message>
        <source>Was du eingegeben hast, geht verloren; die crontab bleibt, wie sie ist.</source>
        <translation>What you typed will be lost; the crontab stays as it is.</translation>
    </message>
</context>
</TS>
