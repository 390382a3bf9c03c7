<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>Pigmentaria</name>
    <message>
        <source>#'s?</source>
        <translation>Nummern?</translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Copy Selected Shape(s)</source>
        <translation>Ausgewählte Form(en) &amp;kopieren</translation>
    </message>
    <message>
        <source>&amp;Deselect All</source>
        <translation>Auswahl a&amp;ufheben</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Export Painting</source>
        <translation>Gemälde e&amp;xportieren</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation>&amp;Vorwärts</translation>
    </message>
    <message>
        <source>&amp;Height</source>
        <translation>&amp;Höhe</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Import Picture</source>
        <translation>Bild &amp;importieren</translation>
    </message>
    <message>
        <source>&amp;New Template...</source>
        <translation>&amp;Neue Vorlage...</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nein</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>Ö&amp;ffnen</translation>
    </message>
    <message>
        <source>&amp;Open Painting</source>
        <translation>Gemälde ö&amp;ffnen</translation>
    </message>
    <message>
        <source>&amp;Overlap (inches):</source>
        <translation>Ü&amp;berlappung (Zoll):</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>&amp;Percent</source>
        <translation>&amp;Prozent</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Drucken...</translation>
    </message>
    <message>
        <source>&amp;Re-Import...</source>
        <translation>Erneut im&amp;portieren...</translation>
    </message>
    <message>
        <source>&amp;Re-Open</source>
        <translation>&amp;Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>&amp;Save As</source>
        <translation>Speichern &amp;unter</translation>
    </message>
    <message>
        <source>&amp;Select Special...</source>
        <translation>&amp;Gezielt auswählen...</translation>
    </message>
    <message>
        <source>&amp;Simplify For Printing...</source>
        <translation>Für den Druck &amp;vereinfachen...</translation>
    </message>
    <message>
        <source>&amp;Special</source>
        <translation>&amp;Spezial</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>E&amp;xtras</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Width</source>
        <translation>&amp;Breite</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <source>(less jagged)</source>
        <translation>(weniger zackig)</translation>
    </message>
    <message>
        <source>(less)</source>
        <translation>(weniger)</translation>
    </message>
    <message>
        <source>(more detail)</source>
        <translation>(mehr Details)</translation>
    </message>
    <message>
        <source>(more)</source>
        <translation>(mehr)</translation>
    </message>
    <message>
        <source>(most)</source>
        <translation>(am meisten)</translation>
    </message>
    <message>
        <source>(new palette)</source>
        <translation>(neue Palette)</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(keine)</translation>
    </message>
    <message>
        <source>0 keeps every region</source>
        <translation>0 behält jede Region</translation>
    </message>
    <message>
        <source>&lt;h2&gt;Help is not installed&lt;/h2&gt;&lt;p&gt;The help pages were not found in &lt;code&gt;%1&lt;/code&gt;. Reinstall Pigmentaria to get them.&lt;/p&gt;</source>
        <translation>&lt;h2&gt;Die Hilfe ist nicht installiert&lt;/h2&gt;&lt;p&gt;Die Hilfeseiten wurden in &lt;code&gt;%1&lt;/code&gt; nicht gefunden. Installieren Sie Pigmentaria erneut, um sie zu erhalten.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>About Pigmentaria</source>
        <translation>Über Pigmentaria</translation>
    </message>
    <message>
        <source>About Pigmentaria...</source>
        <translation>Über Pigmentaria...</translation>
    </message>
    <message>
        <source>Abstraction Level</source>
        <translation>Abstraktionsgrad</translation>
    </message>
    <message>
        <source>Acrylic 24 Colors</source>
        <translation>Acryl 24 Farben</translation>
    </message>
    <message>
        <source>Adjust Colors</source>
        <translation>Farben anpassen</translation>
    </message>
    <message>
        <source>Advanced</source>
        <translation>Erweitert</translation>
    </message>
    <message>
        <source>Advanced controls</source>
        <translation>Erweiterte Einstellungen</translation>
    </message>
    <message>
        <source>Advanced Effects</source>
        <translation>Erweiterte Effekte</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>B</source>
        <translation>B</translation>
    </message>
    <message>
        <source>B value</source>
        <translation>B-Wert</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Basic 16 Colors</source>
        <translation>Grundfarben 16</translation>
    </message>
    <message>
        <source>BCG</source>
        <translation>HKG</translation>
    </message>
    <message>
        <source>Black</source>
        <translation>Schwarz</translation>
    </message>
    <message>
        <source>Blur</source>
        <translation>Weichzeichnen</translation>
    </message>
    <message>
        <source>Blur...</source>
        <translation>Weichzeichnen...</translation>
    </message>
    <message>
        <source>C</source>
        <translation>C</translation>
    </message>
    <message>
        <source>C value</source>
        <translation>C-Wert</translation>
    </message>
    <message>
        <source>C&amp;lose</source>
        <translation>Sch&amp;ließen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Cb</source>
        <translation>Cb</translation>
    </message>
    <message>
        <source>Cb value</source>
        <translation>Cb-Wert</translation>
    </message>
    <message>
        <source>Change...</source>
        <translation>Ändern...</translation>
    </message>
    <message>
        <source>Click and drag to size the image.</source>
        <translation>Klicken und ziehen, um die Bildgröße zu ändern.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>CMY</source>
        <translation>CMY</translation>
    </message>
    <message>
        <source>CMY Filter</source>
        <translation>CMY-Filter</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>Color Name</source>
        <translation>Farbname</translation>
    </message>
    <message>
        <source>Color Reduction</source>
        <translation>Farbreduktion</translation>
    </message>
    <message>
        <source>Color under cursor</source>
        <translation>Farbe unter dem Mauszeiger</translation>
    </message>
    <message>
        <source>Color under cursor: none</source>
        <translation>Farbe unter dem Mauszeiger: keine</translation>
    </message>
    <message>
        <source>Colors</source>
        <translation>Farben</translation>
    </message>
    <message>
        <source>Colors by count</source>
        <translation>Farben nach Anzahl</translation>
    </message>
    <message>
        <source>Colors by step</source>
        <translation>Farben nach Stufe</translation>
    </message>
    <message>
        <source>Complex Painting</source>
        <translation>Komplexes Gemälde</translation>
    </message>
    <message>
        <source>Contour</source>
        <translation>Kontur</translation>
    </message>
    <message>
        <source>Controls the extent to which colors are combined in the final painting.</source>
        <translation>Bestimmt, wie stark Farben im fertigen Gemälde zusammengefasst werden.</translation>
    </message>
    <message>
        <source>Copy Painting as &amp;Bitmap</source>
        <translation>Gemälde als &amp;Bitmap kopieren</translation>
    </message>
    <message>
        <source>Cr</source>
        <translation>Cr</translation>
    </message>
    <message>
        <source>Cr value</source>
        <translation>Cr-Wert</translation>
    </message>
    <message>
        <source>Create New Folder</source>
        <translation>Neuen Ordner erstellen</translation>
    </message>
    <message>
        <source>Current Color</source>
        <translation>Aktuelle Farbe</translation>
    </message>
    <message>
        <source>Currently selected color.</source>
        <translation>Die zurzeit ausgewählte Farbe.</translation>
    </message>
    <message>
        <source>Currently selected color: none</source>
        <translation>Zurzeit ausgewählte Farbe: keine</translation>
    </message>
    <message>
        <source>Custom Zoom</source>
        <translation>Benutzerdefinierter Zoom</translation>
    </message>
    <message>
        <source>Custom...</source>
        <translation>Benutzerdefiniert...</translation>
    </message>
    <message>
        <source>D&amp;elete Selected Shape(s)</source>
        <translation>Ausgewählte Form(en) &amp;löschen</translation>
    </message>
    <message>
        <source>Delete Color</source>
        <translation>Farbe löschen</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>Detail</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>Detail View</source>
        <translation>Detailansicht</translation>
    </message>
    <message>
        <source>Detail...</source>
        <translation>Details...</translation>
    </message>
    <message>
        <source>Dimensions</source>
        <translation>Abmessungen</translation>
    </message>
    <message>
        <source>Down One Row</source>
        <translation>Eine Zeile nach unten</translation>
    </message>
    <message>
        <source>Drag the green box to place the image.</source>
        <translation>Den grünen Rahmen ziehen, um das Bild zu platzieren.</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Edit Palette</source>
        <translation>Palette bearbeiten</translation>
    </message>
    <message>
        <source>Edit Palette.</source>
        <translation>Palette bearbeiten.</translation>
    </message>
    <message>
        <source>Eliminate Lines</source>
        <translation>Linien entfernen</translation>
    </message>
    <message>
        <source>Enlarge</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <source>Enter Palette Description</source>
        <translation>Palettenbeschreibung eingeben</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>File &amp;name:</source>
        <translation>Datei&amp;name:</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Dateien</translation>
    </message>
    <message>
        <source>Files of type:</source>
        <translation>Dateityp:</translation>
    </message>
    <message>
        <source>Fill Shapes With. . .</source>
        <translation>Formen füllen mit. . .</translation>
    </message>
    <message>
        <source>Fill With</source>
        <translation>Füllen mit</translation>
    </message>
    <message>
        <source>Filtered preview</source>
        <translation>Gefilterte Vorschau</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Vorwärts</translation>
    </message>
    <message>
        <source>G</source>
        <translation>G</translation>
    </message>
    <message>
        <source>G value</source>
        <translation>G-Wert</translation>
    </message>
    <message>
        <source>Gray</source>
        <translation>Grau</translation>
    </message>
    <message>
        <source>Gray Scale</source>
        <translation>Graustufen</translation>
    </message>
    <message>
        <source>Grayscale Filter</source>
        <translation>Graustufenfilter</translation>
    </message>
    <message>
        <source>Grid corner</source>
        <translation>Rasterecke</translation>
    </message>
    <message>
        <source>H</source>
        <translation>H</translation>
    </message>
    <message>
        <source>H value</source>
        <translation>H-Wert</translation>
    </message>
    <message>
        <source>Hairline</source>
        <translation>Haarlinie</translation>
    </message>
    <message>
        <source>Half-line</source>
        <translation>Halbe Linie</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Höhe</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Help Contents</source>
        <translation>Hilfethemen</translation>
    </message>
    <message>
        <source>Help page</source>
        <translation>Hilfeseite</translation>
    </message>
    <message>
        <source>HLS</source>
        <translation>HLS</translation>
    </message>
    <message>
        <source>HLS Filter</source>
        <translation>HLS-Filter</translation>
    </message>
    <message>
        <source>HSV</source>
        <translation>HSV</translation>
    </message>
    <message>
        <source>HSV Filter</source>
        <translation>HSV-Filter</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importieren</translation>
    </message>
    <message>
        <source>Import From &amp;Clipboard...</source>
        <translation>Aus der &amp;Zwischenablage importieren...</translation>
    </message>
    <message>
        <source>Import Now</source>
        <translation>Jetzt importieren</translation>
    </message>
    <message>
        <source>Import Picture</source>
        <translation>Bild importieren</translation>
    </message>
    <message>
        <source>Importing Your First Picture</source>
        <translation>Ihr erstes Bild importieren</translation>
    </message>
    <message>
        <source>index.html</source>
        <translation>de/index.html</translation>
    </message>
    <message>
        <source>Ink Brush</source>
        <translation>Tuschepinsel</translation>
    </message>
    <message>
        <source>Inline</source>
        <translation>Innenlinie</translation>
    </message>
    <message>
        <source>L</source>
        <translation>L</translation>
    </message>
    <message>
        <source>L value</source>
        <translation>L-Wert</translation>
    </message>
    <message>
        <source>Last job</source>
        <translation>Letzter Auftrag</translation>
    </message>
    <message>
        <source>Legibility</source>
        <translation>Lesbarkeit</translation>
    </message>
    <message>
        <source>Line Weight</source>
        <translation>Linienstärke</translation>
    </message>
    <message>
        <source>List View</source>
        <translation>Listenansicht</translation>
    </message>
    <message>
        <source>Look in:</source>
        <translation>Suchen in:</translation>
    </message>
    <message>
        <source>M</source>
        <translation>M</translation>
    </message>
    <message>
        <source>M value</source>
        <translation>M-Wert</translation>
    </message>
    <message>
        <source>Main menu</source>
        <translation>Hauptmenü</translation>
    </message>
    <message>
        <source>Make Template...</source>
        <translation>Vorlage erstellen...</translation>
    </message>
    <message>
        <source>Match to paints</source>
        <translation>An Malfarben angleichen</translation>
    </message>
    <message>
        <source>Menu bar</source>
        <translation>Menüleiste</translation>
    </message>
    <message>
        <source>Merge the regions too small to paint at this size, and trace again</source>
        <translation>Regionen, die bei dieser Größe zu klein zum Malen sind, zusammenfassen und neu nachzeichnen</translation>
    </message>
    <message>
        <source>Min. area (px)</source>
        <translation>Min. Fläche (px)</translation>
    </message>
    <message>
        <source>Min. width (px)</source>
        <translation>Min. Breite (px)</translation>
    </message>
    <message>
        <source>Modifying Original Image</source>
        <translation>Originalbild bearbeiten</translation>
    </message>
    <message>
        <source>More tools</source>
        <translation>Weitere Werkzeuge</translation>
    </message>
    <message>
        <source>Negative Filter</source>
        <translation>Negativfilter</translation>
    </message>
    <message>
        <source>Negative...</source>
        <translation>Negativ...</translation>
    </message>
    <message>
        <source>Neon</source>
        <translation>Neon</translation>
    </message>
    <message>
        <source>Neon Stylist</source>
        <translation>Neon-Stilist</translation>
    </message>
    <message>
        <source>New Color</source>
        <translation>Neue Farbe</translation>
    </message>
    <message>
        <source>Next Page</source>
        <translation>Nächste Seite</translation>
    </message>
    <message>
        <source>No painting</source>
        <translation>Kein Gemälde</translation>
    </message>
    <message>
        <source>No printer is installed: printing writes a PDF file.</source>
        <translation>Kein Drucker installiert: Beim Drucken wird eine PDF-Datei geschrieben.</translation>
    </message>
    <message>
        <source>Note: Paint colors shown are approximations only.  Monitors vary in their ability to display colors.</source>
        <translation>Hinweis: Die angezeigten Malfarben sind nur Näherungswerte.  Bildschirme geben Farben unterschiedlich gut wieder.</translation>
    </message>
    <message>
        <source>Number the painting and print the numbers</source>
        <translation>Das Gemälde nummerieren und die Nummern drucken</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Outline</source>
        <translation>Umriss</translation>
    </message>
    <message>
        <source>Outline Method</source>
        <translation>Umrissverfahren</translation>
    </message>
    <message>
        <source>Outline...</source>
        <translation>Umriss...</translation>
    </message>
    <message>
        <source>Outlines and Fill</source>
        <translation>Umrisse und Füllung</translation>
    </message>
    <message>
        <source>Overlap (inches)</source>
        <translation>Überlappung (Zoll)</translation>
    </message>
    <message>
        <source>Page</source>
        <translation>Seite</translation>
    </message>
    <message>
        <source>Page Preview</source>
        <translation>Seitenvorschau</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>Seiten</translation>
    </message>
    <message>
        <source>Pages &amp;Across:</source>
        <translation>Seiten &amp;waagerecht:</translation>
    </message>
    <message>
        <source>Pages &amp;Down:</source>
        <translation>Seiten &amp;senkrecht:</translation>
    </message>
    <message>
        <source>Pages Across</source>
        <translation>Seiten waagerecht</translation>
    </message>
    <message>
        <source>Pages Down</source>
        <translation>Seiten senkrecht</translation>
    </message>
    <message>
        <source>Paint Color</source>
        <translation>Malfarbe</translation>
    </message>
    <message>
        <source>Paint color.</source>
        <translation>Malfarbe.</translation>
    </message>
    <message>
        <source>Paint Color: </source>
        <translation>Malfarbe: </translation>
    </message>
    <message>
        <source>Paint individual shapes with the Brushstroke tool.</source>
        <translation>Einzelne Formen mit dem Pinsel bemalen.</translation>
    </message>
    <message>
        <source>Paint selected shapes with the Paint Bucket tool.</source>
        <translation>Ausgewählte Formen mit dem Farbeimer bemalen.</translation>
    </message>
    <message>
        <source>Painting</source>
        <translation>Gemälde</translation>
    </message>
    <message>
        <source>Painting Colors</source>
        <translation>Gemäldefarben</translation>
    </message>
    <message>
        <source>Painting colors</source>
        <translation>Gemäldefarben</translation>
    </message>
    <message>
        <source>Painting view</source>
        <translation>Gemäldeansicht</translation>
    </message>
    <message>
        <source>Paints</source>
        <translation>Malfarben</translation>
    </message>
    <message>
        <source>Palette</source>
        <translation>Palette</translation>
    </message>
    <message>
        <source>Palette colors</source>
        <translation>Palettenfarben</translation>
    </message>
    <message>
        <source>Palette description</source>
        <translation>Palettenbeschreibung</translation>
    </message>
    <message>
        <source>Palette file</source>
        <translation>Palettendatei</translation>
    </message>
    <message>
        <source>Palette name</source>
        <translation>Palettenname</translation>
    </message>
    <message>
        <source>Palette pages</source>
        <translation>Palettenseiten</translation>
    </message>
    <message>
        <source>Palette size</source>
        <translation>Palettengröße</translation>
    </message>
    <message>
        <source>Palette tools</source>
        <translation>Palettenwerkzeuge</translation>
    </message>
    <message>
        <source>Palettes</source>
        <translation>Paletten</translation>
    </message>
    <message>
        <source>Parent Directory</source>
        <translation>Übergeordneter Ordner</translation>
    </message>
    <message>
        <source>PDF file</source>
        <translation>PDF-Datei</translation>
    </message>
    <message>
        <source>Pen &amp;&amp; Brush Combo</source>
        <translation>Feder &amp;&amp; Pinsel kombiniert</translation>
    </message>
    <message>
        <source>Pen &amp;&amp; Ink</source>
        <translation>Feder &amp;&amp; Tusche</translation>
    </message>
    <message>
        <source>Pen &amp;&amp; Ink Stylist</source>
        <translation>Feder-&amp;&amp;-Tusche-Stilist</translation>
    </message>
    <message>
        <source>Percent</source>
        <translation>Prozent</translation>
    </message>
    <message>
        <source>Pick</source>
        <translation>Aufnehmen</translation>
    </message>
    <message>
        <source>Picture information</source>
        <translation>Bildinformationen</translation>
    </message>
    <message>
        <source>Picture preview</source>
        <translation>Bildvorschau</translation>
    </message>
    <message>
        <source>Pigmentaria</source>
        <translation>Pigmentaria</translation>
    </message>
    <message>
        <source>Pigmentaria - (Untitled)</source>
        <translation>Pigmentaria - (Unbenannt)</translation>
    </message>
    <message>
        <source>Pigmentaria Help</source>
        <translation>Pigmentaria-Hilfe</translation>
    </message>
    <message>
        <source>Pigmentaria icon</source>
        <translation>Pigmentaria-Symbol</translation>
    </message>
    <message>
        <source>Pigmentaria on the &amp;Web</source>
        <translation>Pigmentaria im &amp;Web</translation>
    </message>
    <message>
        <source>Portrait</source>
        <translation>Hochformat</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Preview Color Reduction. . .</source>
        <translation>Farbreduktion in der Vorschau. . .</translation>
    </message>
    <message>
        <source>Preview image</source>
        <translation>Vorschaubild</translation>
    </message>
    <message>
        <source>Preview Tool Bar</source>
        <translation>Vorschau-Werkzeugleiste</translation>
    </message>
    <message>
        <source>Previous Page</source>
        <translation>Vorherige Seite</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>Print All Shapes</source>
        <translation>Alle Formen drucken</translation>
    </message>
    <message>
        <source>Print Current Color</source>
        <translation>Aktuelle Farbe drucken</translation>
    </message>
    <message>
        <source>Print Outlines in Black</source>
        <translation>Umrisse schwarz drucken</translation>
    </message>
    <message>
        <source>Print Outlines Only</source>
        <translation>Nur Umrisse drucken</translation>
    </message>
    <message>
        <source>Print Page Numbers</source>
        <translation>Seitenzahlen drucken</translation>
    </message>
    <message>
        <source>Print Palette...</source>
        <translation>Palette drucken...</translation>
    </message>
    <message>
        <source>Print Preview</source>
        <translation>Druckvorschau</translation>
    </message>
    <message>
        <source>Print Registration Marks</source>
        <translation>Passermarken drucken</translation>
    </message>
    <message>
        <source>Print Sample</source>
        <translation>Probedruck</translation>
    </message>
    <message>
        <source>Print Selected Shapes</source>
        <translation>Ausgewählte Formen drucken</translation>
    </message>
    <message>
        <source>Print Setup</source>
        <translation>Druckeinrichtung</translation>
    </message>
    <message>
        <source>Printer</source>
        <translation>Drucker</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>Quick Reference</source>
        <translation>Kurzübersicht</translation>
    </message>
    <message>
        <source>R</source>
        <translation>R</translation>
    </message>
    <message>
        <source>R value</source>
        <translation>R-Wert</translation>
    </message>
    <message>
        <source>Radius</source>
        <translation>Radius</translation>
    </message>
    <message>
        <source>Radius value</source>
        <translation>Radiuswert</translation>
    </message>
    <message>
        <source>Re-Acquire Colors for All Shapes</source>
        <translation>Farben für alle Formen neu übernehmen</translation>
    </message>
    <message>
        <source>Re-Acquire Colors for Selected Shapes</source>
        <translation>Farben für ausgewählte Formen neu übernehmen</translation>
    </message>
    <message>
        <source>Re-Trace Painting</source>
        <translation>Gemälde neu nachzeichnen</translation>
    </message>
    <message>
        <source>Recipe</source>
        <translation>Mischrezept</translation>
    </message>
    <message>
        <source>Reduce</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>Reduce Into Original</source>
        <translation>In das Original reduzieren</translation>
    </message>
    <message>
        <source>Reduced picture</source>
        <translation>Reduziertes Bild</translation>
    </message>
    <message>
        <source>Removes specks: a pixel with fewer neighbours of its own colour than this level takes the colour most of its neighbours have.</source>
        <translation>Entfernt Sprenkel: Ein Pixel mit weniger gleichfarbigen Nachbarn als diese Stufe übernimmt die Farbe der meisten seiner Nachbarn.</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Ersetzen</translation>
    </message>
    <message>
        <source>Replace a color with the current paint color.</source>
        <translation>Eine Farbe durch die aktuelle Malfarbe ersetzen.</translation>
    </message>
    <message>
        <source>Replace Painting Colors With Current Palette</source>
        <translation>Gemäldefarben durch die aktuelle Palette ersetzen</translation>
    </message>
    <message>
        <source>RGB</source>
        <translation>RGB</translation>
    </message>
    <message>
        <source>RGB Filter</source>
        <translation>RGB-Filter</translation>
    </message>
    <message>
        <source>RGB weighting</source>
        <translation>RGB-Gewichtung</translation>
    </message>
    <message>
        <source>S</source>
        <translation>S</translation>
    </message>
    <message>
        <source>S value</source>
        <translation>S-Wert</translation>
    </message>
    <message>
        <source>Sample</source>
        <translation>Probe</translation>
    </message>
    <message>
        <source>Save &amp;As</source>
        <translation>Speichern &amp;unter</translation>
    </message>
    <message>
        <source>Save Pa&amp;lette</source>
        <translation>Pa&amp;lette speichern</translation>
    </message>
    <message>
        <source>Scroll Left</source>
        <translation>Nach links blättern</translation>
    </message>
    <message>
        <source>Scroll Right</source>
        <translation>Nach rechts blättern</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>&amp;Alles auswählen</translation>
    </message>
    <message>
        <source>Select a paint color from the palette.</source>
        <translation>Eine Malfarbe aus der Palette wählen.</translation>
    </message>
    <message>
        <source>Select all shapes of current color.</source>
        <translation>Alle Formen der aktuellen Farbe auswählen.</translation>
    </message>
    <message>
        <source>Select all shapes.</source>
        <translation>Alle Formen auswählen.</translation>
    </message>
    <message>
        <source>Select Current Color</source>
        <translation>Aktuelle Farbe auswählen</translation>
    </message>
    <message>
        <source>Select Current Color In Region</source>
        <translation>Aktuelle Farbe im Bereich auswählen</translation>
    </message>
    <message>
        <source>Select current color within rectangular region.</source>
        <translation>Aktuelle Farbe in einem rechteckigen Bereich auswählen.</translation>
    </message>
    <message>
        <source>Select Paint Color from Image.</source>
        <translation>Malfarbe aus dem Bild aufnehmen.</translation>
    </message>
    <message>
        <source>Select paint color from Windows Palette.</source>
        <translation>Malfarbe aus der Systempalette wählen.</translation>
    </message>
    <message>
        <source>Select Region</source>
        <translation>Bereich auswählen</translation>
    </message>
    <message>
        <source>Select shapes in a rectangular region.</source>
        <translation>Formen in einem rechteckigen Bereich auswählen.</translation>
    </message>
    <message>
        <source>Select shapes with the Selection tool.</source>
        <translation>Formen mit dem Auswahlwerkzeug auswählen.</translation>
    </message>
    <message>
        <source>Selected Color</source>
        <translation>Ausgewählte Farbe</translation>
    </message>
    <message>
        <source>Selected Color: </source>
        <translation>Ausgewählte Farbe: </translation>
    </message>
    <message>
        <source>Sharpen</source>
        <translation>Schärfen</translation>
    </message>
    <message>
        <source>Sharpen...</source>
        <translation>Schärfen...</translation>
    </message>
    <message>
        <source>Show Date Modified</source>
        <translation>Änderungsdatum anzeigen</translation>
    </message>
    <message>
        <source>Show Size</source>
        <translation>Größe anzeigen</translation>
    </message>
    <message>
        <source>Show Type</source>
        <translation>Typ anzeigen</translation>
    </message>
    <message>
        <source>Sidebar</source>
        <translation>Seitenleiste</translation>
    </message>
    <message>
        <source>Simple Painting</source>
        <translation>Einfaches Gemälde</translation>
    </message>
    <message>
        <source>Smooth</source>
        <translation>Glätten</translation>
    </message>
    <message>
        <source>Smooth Selected Shapes</source>
        <translation>Ausgewählte Formen glätten</translation>
    </message>
    <message>
        <source>Smooth selected shapes.</source>
        <translation>Ausgewählte Formen glätten.</translation>
    </message>
    <message>
        <source>Smooth...</source>
        <translation>Glätten...</translation>
    </message>
    <message>
        <source>Source preview</source>
        <translation>Vorschau der Quelle</translation>
    </message>
    <message>
        <source>Speck Removal</source>
        <translation>Sprenkel entfernen</translation>
    </message>
    <message>
        <source>Starting Points</source>
        <translation>Startpunkte</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Std. deviation</source>
        <translation>Standardabweichung</translation>
    </message>
    <message>
        <source>Std. deviation value</source>
        <translation>Wert der Standardabweichung</translation>
    </message>
    <message>
        <source>Strength</source>
        <translation>Stärke</translation>
    </message>
    <message>
        <source>Strength value</source>
        <translation>Stärkewert</translation>
    </message>
    <message>
        <source>Stylist Painting</source>
        <translation>Stilisiertes Gemälde</translation>
    </message>
    <message>
        <source>Template</source>
        <translation>Vorlage</translation>
    </message>
    <message>
        <source>This software is based in part on the work of the Independent JPEG Group</source>
        <translation>Diese Software beruht teilweise auf der Arbeit der Independent JPEG Group</translation>
    </message>
    <message>
        <source>Tool bar</source>
        <translation>Werkzeugleiste</translation>
    </message>
    <message>
        <source>Tools</source>
        <translation>Werkzeuge</translation>
    </message>
    <message>
        <source>Tracing</source>
        <translation>Nachzeichnen</translation>
    </message>
    <message>
        <source>Up One Row</source>
        <translation>Eine Zeile nach oben</translation>
    </message>
    <message>
        <source>Use Palette</source>
        <translation>Palette verwenden</translation>
    </message>
    <message>
        <source>V</source>
        <translation>V</translation>
    </message>
    <message>
        <source>V value</source>
        <translation>V-Wert</translation>
    </message>
    <message>
        <source>Version 1.01a</source>
        <translation>Version 1.01a</translation>
    </message>
    <message>
        <source>View Outlines Only</source>
        <translation>Nur Umrisse anzeigen</translation>
    </message>
    <message>
        <source>View Template</source>
        <translation>Vorlage anzeigen</translation>
    </message>
    <message>
        <source>What to Print</source>
        <translation>Was gedruckt wird</translation>
    </message>
    <message>
        <source>White</source>
        <translation>Weiß</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Breite</translation>
    </message>
    <message>
        <source>Work with the current palette.</source>
        <translation>Mit der aktuellen Palette arbeiten.</translation>
    </message>
    <message>
        <source>Working picture</source>
        <translation>Arbeitsbild</translation>
    </message>
    <message>
        <source>Y</source>
        <translation>Y</translation>
    </message>
    <message>
        <source>Y value</source>
        <translation>Y-Wert</translation>
    </message>
    <message>
        <source>YCbCr</source>
        <translation>YCbCr</translation>
    </message>
    <message>
        <source>YCbCr Filter</source>
        <translation>YCbCr-Filter</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <source>Zoom Menu</source>
        <translation>Zoom-Menü</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>Zoom...</source>
        <translation>Zoom...</translation>
    </message>
    <message>
        <source>&amp;Redo Brushstroke</source>
        <translation>&amp;Wiederherstellen: Pinselstrich</translation>
    </message>
    <message>
        <source>&amp;Redo Color Acquisition</source>
        <translation>&amp;Wiederherstellen: Farbübernahme</translation>
    </message>
    <message>
        <source>&amp;Redo Delete</source>
        <translation>&amp;Wiederherstellen: Löschen</translation>
    </message>
    <message>
        <source>&amp;Redo Import</source>
        <translation>&amp;Wiederherstellen: Import</translation>
    </message>
    <message>
        <source>&amp;Redo Paint</source>
        <translation>&amp;Wiederherstellen: Einfärben</translation>
    </message>
    <message>
        <source>&amp;Redo Replace Color</source>
        <translation>&amp;Wiederherstellen: Farbe ersetzen</translation>
    </message>
    <message>
        <source>&amp;Redo Replace Palette</source>
        <translation>&amp;Wiederherstellen: Palette ersetzen</translation>
    </message>
    <message>
        <source>&amp;Redo Retrace Painting</source>
        <translation>&amp;Wiederherstellen: Neu nachzeichnen</translation>
    </message>
    <message>
        <source>&amp;Redo Simplify</source>
        <translation>&amp;Wiederherstellen: Vereinfachen</translation>
    </message>
    <message>
        <source>&amp;Redo Smooth</source>
        <translation>&amp;Wiederherstellen: Glätten</translation>
    </message>
    <message>
        <source>&amp;Undo Brushstroke</source>
        <translation>&amp;Rückgängig: Pinselstrich</translation>
    </message>
    <message>
        <source>&amp;Undo Color Acquisition</source>
        <translation>&amp;Rückgängig: Farbübernahme</translation>
    </message>
    <message>
        <source>&amp;Undo Delete</source>
        <translation>&amp;Rückgängig: Löschen</translation>
    </message>
    <message>
        <source>&amp;Undo Import</source>
        <translation>&amp;Rückgängig: Import</translation>
    </message>
    <message>
        <source>&amp;Undo Paint</source>
        <translation>&amp;Rückgängig: Einfärben</translation>
    </message>
    <message>
        <source>&amp;Undo Replace Color</source>
        <translation>&amp;Rückgängig: Farbe ersetzen</translation>
    </message>
    <message>
        <source>&amp;Undo Replace Palette</source>
        <translation>&amp;Rückgängig: Palette ersetzen</translation>
    </message>
    <message>
        <source>&amp;Undo Retrace Painting</source>
        <translation>&amp;Rückgängig: Neu nachzeichnen</translation>
    </message>
    <message>
        <source>&amp;Undo Simplify</source>
        <translation>&amp;Rückgängig: Vereinfachen</translation>
    </message>
    <message>
        <source>&amp;Undo Smooth</source>
        <translation>&amp;Rückgängig: Glätten</translation>
    </message>
    <message>
        <source>Filtering Picture...</source>
        <translation>Bild wird gefiltert...</translation>
    </message>
    <message>
        <source>Loading Picture...</source>
        <translation>Bild wird geladen...</translation>
    </message>
    <message>
        <source>Merging Small Regions...</source>
        <translation>Kleine Regionen werden zusammengefasst...</translation>
    </message>
    <message>
        <source>Performing Color Reduction...</source>
        <translation>Farben werden reduziert...</translation>
    </message>
    <message>
        <source>Performing Simplification...</source>
        <translation>Gemälde wird vereinfacht...</translation>
    </message>
    <message>
        <source>Placing Numbers...</source>
        <translation>Nummern werden platziert...</translation>
    </message>
    <message>
        <source>This image is too large.  Please select another image or use another package to make it smaller.</source>
        <translation>Dieses Bild ist zu groß.  Bitte wählen Sie ein anderes Bild oder verkleinern Sie es mit einem anderen Programm.</translation>
    </message>
    <message>
        <source>Tracing Picture...</source>
        <translation>Bild wird nachgezeichnet...</translation>
    </message>
    <message>
        <source>&amp;Create</source>
        <translation>E&amp;rstellen</translation>
    </message>
    <message>
        <source>&amp;Difficulty:</source>
        <translation>&amp;Schwierigkeit:</translation>
    </message>
    <message>
        <source>&amp;Paints:</source>
        <translation>&amp;Farben:</translation>
    </message>
    <message>
        <source>&amp;Smallest cell (mm):</source>
        <translation>&amp;Kleinste Zelle (mm):</translation>
    </message>
    <message>
        <source>A3</source>
        <translation>A3</translation>
    </message>
    <message>
        <source>A4</source>
        <translation>A4</translation>
    </message>
    <message>
        <source>Any colours</source>
        <translation>Beliebige Farben</translation>
    </message>
    <message>
        <source>Beginner</source>
        <translation>Einsteiger</translation>
    </message>
    <message>
        <source>Canvas size</source>
        <translation>Leinwandgröße</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>Benutzerdefiniert</translation>
    </message>
    <message>
        <source>Difficulty</source>
        <translation>Schwierigkeit</translation>
    </message>
    <message>
        <source>Expert</source>
        <translation>Experte</translation>
    </message>
    <message>
        <source>Legal</source>
        <translation>US Legal</translation>
    </message>
    <message>
        <source>Letter</source>
        <translation>US Letter</translation>
    </message>
    <message>
        <source>Merge Cell</source>
        <translation>Zelle verschmelzen</translation>
    </message>
    <message>
        <source>Merge Touching Shapes of One Colour</source>
        <translation>Angrenzende Formen einer Farbe verschmelzen</translation>
    </message>
    <message>
        <source>Merge a cell into its neighbour.</source>
        <translation>Eine Zelle mit ihrer Nachbarzelle verschmelzen.</translation>
    </message>
    <message>
        <source>Mix from tubes: Acrylic 12 Tubes</source>
        <translation>Aus Tuben mischen: Acryl, 12 Tuben</translation>
    </message>
    <message>
        <source>Mix from tubes: Acrylic Primary 6 Tubes</source>
        <translation>Aus Tuben mischen: Acryl-Grundfarben, 6 Tuben</translation>
    </message>
    <message>
        <source>New Template</source>
        <translation>Neue Vorlage</translation>
    </message>
    <message>
        <source>Other palette file...</source>
        <translation>Andere Palettendatei...</translation>
    </message>
    <message>
        <source>Pages Do&amp;wn:</source>
        <translation>Seiten s&amp;enkrecht:</translation>
    </message>
    <message>
        <source>Paint s&amp;et:</source>
        <translation>Farbsa&amp;tz:</translation>
    </message>
    <message>
        <source>Paint set</source>
        <translation>Farbsatz</translation>
    </message>
    <message>
        <source>Pape&amp;r:</source>
        <translation>Pa&amp;pier:</translation>
    </message>
    <message>
        <source>Paper</source>
        <translation>Papier</translation>
    </message>
    <message>
        <source>Show &amp;Template</source>
        <translation>&amp;Vorlage zeigen</translation>
    </message>
    <message>
        <source>Show Pai&amp;nting</source>
        <translation>&amp;Gemälde zeigen</translation>
    </message>
    <message>
        <source>Smallest cell (mm)</source>
        <translation>Kleinste Zelle (mm)</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Create</source>
        <translation>Erstellen</translation>
    </message>
    <message>
        <source>Show Template</source>
        <translation>Vorlage zeigen</translation>
    </message>
    <message>
        <source>Show Painting</source>
        <translation>Gemälde zeigen</translation>
    </message>
    <message>
        <source>Total Print Size: %1 x %2</source>
        <translation>Gesamte Druckgröße: %1 x %2</translation>
    </message>
    <message>
        <source>Image Size: %1 x %2</source>
        <translation>Bildgröße: %1 x %2</translation>
    </message>
    <message>
        <source>Total Print Size</source>
        <translation>Gesamte Druckgröße</translation>
    </message>
    <message>
        <source>Image Size</source>
        <translation>Bildgröße</translation>
    </message>
    <message>
        <source>Narrowest region: %1 mm across</source>
        <translation>Schmalste Fläche: %1 mm breit</translation>
    </message>
    <message>
        <source>Regions under %1 mm: %2 of %3</source>
        <translation>Flächen unter %1 mm: %2 von %3</translation>
    </message>
    <message>
        <source>Numbers are not printed ("#'s?" is unchecked)</source>
        <translation>Nummern werden nicht gedruckt („Nummern?“ ist nicht angekreuzt)</translation>
    </message>
    <message>
        <source>Smallest number: no numbers are printed</source>
        <translation>Kleinste Nummer: es werden keine Nummern gedruckt</translation>
    </message>
    <message>
        <source>Regions without a number that fits: %1</source>
        <translation>Flächen ohne passende Nummer: %1</translation>
    </message>
    <message>
        <source>Smallest number: %1 pt</source>
        <translation>Kleinste Nummer: %1 pt</translation>
    </message>
    <message>
        <source>Regions without a number that fits: %1 (under %2 pt: %3)</source>
        <translation>Flächen ohne passende Nummer: %1 (unter %2 pt: %3)</translation>
    </message>
    <message>
        <source>   Page: %1   (Row %2  Col %3)</source>
        <translation>   Seite: %1   (Z. %2  Sp. %3)</translation>
    </message>
    <message>
        <source>Canvas size: %1 × %2 cm</source>
        <translation>Leinwandgröße: %1 × %2 cm</translation>
    </message>
    <message>
        <source>1 paint</source>
        <translation>1 Farbe</translation>
    </message>
    <message>
        <source>%1 paints</source>
        <translation>%1 Farben</translation>
    </message>
    <message>
        <source>1 cell</source>
        <translation>1 Feld</translation>
    </message>
    <message>
        <source>%1 cells</source>
        <translation>%1 Felder</translation>
    </message>
    <message>
        <source>narrowest %1 mm</source>
        <translation>schmalstes %1 mm</translation>
    </message>
    <message>
        <source>smallest number %1 pt</source>
        <translation>kleinste Nummer %1 pt</translation>
    </message>
    <message>
        <source>1 cell without a number</source>
        <translation>1 Feld ohne Nummer</translation>
    </message>
    <message>
        <source>%1 cells without a number</source>
        <translation>%1 Felder ohne Nummer</translation>
    </message>
    <message>
        <source>Making the preview...</source>
        <translation>Die Vorschau wird erstellt...</translation>
    </message>
    <message>
        <source>Shape Count: %1.  Point Count: %2.  Memory blocks allocated: %3.  Total size: %4</source>
        <translation>Formen: %1.  Punkte: %2.  Belegte Speicherblöcke: %3.  Gesamtgröße: %4</translation>
    </message>
    <message>
        <source>Save changes to %1?</source>
        <translation>Änderungen an %1 speichern?</translation>
    </message>
</context>
</TS>
