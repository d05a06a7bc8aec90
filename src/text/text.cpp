#include "text/text.h"

#include <array>
#include <cstddef>
#include <iterator>
#include <span>
#include <vector>

namespace uzuviv {

std::uint8_t LanguageIndex = 2;

namespace {

constexpr int LanguageCount = 5;
constexpr int EnglishIndex = 2;

// Every table is language-major: its P French items, then the P English, Spanish, German and
// Italian items, each group in item order. Spelling and blanks are the shipped texts and must
// stay as they are, slips included.

constexpr const char* AboutTextsEntries[] = {
    // French
    "A propos de OVRA DAV Uzuviv",
    "OVRA DAV Uzuviv",
    "Version V1.0",
    "www.ovra.example",
    // English
    "About OVRA DAV Uzuviv",
    "OVRA DAV Uzuviv",
    "Version V1.0",
    "www.ovra.example",
    // Spanish
    "Sobre el OVRA DAV Uzuviv",
    "OVRA DAV Uzuviv",
    "Versión V1.0",
    "www.ovra.example",
    // German
    "Über OVRA DAV Uzuviv",
    "OVRA DAV Uzuviv",
    "Version V1.0",
    "www.ovra.example",
    // Italian
    "Informazioni sul Software \"DAV Uzuviv\" della OVRA",
    "OVRA DAV Uzuviv",
    "Versione V1.0",
    "www.ovra.example",
};
static_assert(std::size(AboutTextsEntries) == 5 * 4);

constexpr const char* FileMenuTextsEntries[] = {
    // French
    "&Fichier",
    "&Nouveau Projet",
    "&Propriétés du Projet...",
    "&Ouvrir",
    "&Enregistrer",
    "Enregistrer &sous...",
    "&Quitter",
    "Construire le fichier GPS",
    "Importer un fichier GPS",
    "Imprimer...",
    "Importer un fichier GPX...",
    "Exporter un fichier GPX...",
    "Exporter un fichier KML...",
    // English
    "&File",
    "&New Project",
    "&Project Properties...",
    "&Open",
    "&Save",
    "Save &as...",
    "E&xit",
    "Build GPS File",
    "Import GPS File",
    "Print...",
    "Import GPX File...",
    "Export GPX File...",
    "Export KML File...",
    // Spanish
    "Archivo",
    "Nuevo Proyecto",
    "Propiedades de Proyecto",
    "Abrir",
    "Guardar",
    "Guardar como...",
    "Salir",
    "Build GPS File",
    "Import GPS File",
    "Print...",
    "Importar archivo GPX...",
    "Exportar archivo GPX...",
    "Exportar archivo KML...",
    // German
    "Datei",
    "Neues Projekt",
    "Projekteingeschaften...",
    "Öffnen",
    "Speichern",
    "Speichern unter...",
    "Beenden",
    "Build GPS File",
    "Import GPS File",
    "Print...",
    "GPX-Datei importieren...",
    "GPX-Datei exportieren...",
    "KML-Datei exportieren...",
    // Italian
    "File",
    "Nuovo Progetto",
    "Proprietà del Progetto...",
    "Apri",
    "Salva",
    "Salva con nome...",
    "Esci",
    "Build GPS File",
    "Import GPS File",
    "Print...",
    "Importa file GPX...",
    "Esporta file GPX...",
    "Esporta file KML...",
};
static_assert(std::size(FileMenuTextsEntries) == 5 * 13);

constexpr const char* EditMenuTextsEntries[] = {
    // French
    "&Edition",
    "&Nouveau Programme GPS",
    "&Supprimer Programme GPS",
    "&Couper",
    "C&opier",
    "Co&ller",
    "Sélectionner &Tout",
    "&Défaire",
    "&Refaire",
    "Nouveau depuis Google Maps",
    "&Vérifier le projet...",
    // English
    "&Edit",
    "&New GPS Program",
    "&Delete GPS Program",
    "Cu&t",
    "&Copy",
    "&Paste",
    "Select &All",
    "Undo",
    "Redo",
    "New from Google Maps",
    "Chec&k Project...",
    // Spanish
    "Editar",
    "&New GPS Program",
    "&Delete GPS Program",
    "Cortar",
    "Copiar",
    "Pegar",
    "Seleccionar Todo",
    "Undo",
    "Redo",
    "New from Google Maps",
    "Comprobar proyecto...",
    // German
    "Bearbeiten",
    "&New GPS Program",
    "&Delete GPS Program",
    "Ausschneiden",
    "Kopieren",
    "Einfügen",
    "Alles auswählen",
    "Undo",
    "Redo",
    "New from Google Maps",
    "Projekt prüfen...",
    // Italian
    "Modifica",
    "&New GPS Program",
    "&Delete GPS Program",
    "Taglia",
    "Copia",
    "Incolla",
    "Select &All",
    "Undo",
    "Redo",
    "New from Google Maps",
    "Verifica progetto...",
};
static_assert(std::size(EditMenuTextsEntries) == 5 * 11);

constexpr const char* OptionsMenuTextsEntries[] = {
    // French
    "&Options",
    "Afficher la carte",
    "Paramètres de la carte...",
    // English
    "&Options",
    "Show Map",
    "Map Settings...",
    // Spanish
    "&Options",
    "Mostrar mapa",
    "Ajustes del mapa...",
    // German
    "Möglichkeiten",
    "Karte anzeigen",
    "Karteneinstellungen...",
    // Italian
    "Opzioni",
    "Mostra mappa",
    "Impostazioni mappa...",
};
static_assert(std::size(OptionsMenuTextsEntries) == 5 * 3);

constexpr const char* LanguageMenuTextsEntries[] = {
    // French
    "&Langue",
    "&English",
    "&Français",
    "E&spañol",
    "&Deutsch",
    "&Italiano",
    // English
    "&Language",
    "&English",
    "&Français",
    "E&spañol",
    "&Deutsch",
    "&Italiano",
    // Spanish
    "&Idioma",
    "&English",
    "&Français",
    "E&spañol",
    "&Deutsch",
    "&Italiano",
    // German
    "Sprache",
    "English",
    "Français",
    "E&spañol",
    "&Deutsch",
    "&Italiano",
    // Italian
    "&Lingua",
    "&English",
    "&Français",
    "E&spañol",
    "&Deutsch",
    "&Italiano",
};
static_assert(std::size(LanguageMenuTextsEntries) == 5 * 6);

constexpr const char* HelpMenuTextsEntries[] = {
    // French
    "&Aide",
    "&A propos...",
    "OVRA sur &Internet",
    "Page d'&accueil de OVRA",
    "Envoyer un Email au support technique OVRA",
    // English
    "&Help",
    "&About...",
    "OVRA on the &Web",
    "OVRA &Home Page",
    "&Send Email to OVRA's Technical Support",
    // Spanish
    "A&yuda",
    "&Sobre...",
    "OVRA en la Web",
    "Página principal OVRA",
    "Enviar email al Soporte Técnico de OVRA",
    // German
    "&Hilfe",
    "&Über...",
    "OVRA im Internet",
    "OVRA &Home Page",
    "Eine Email zum technischen Support von OVRA senden",
    // Italian
    "Aiuto",
    "Informazioni...",
    "OVRA sul Web",
    "Pagina Web principale OVRA",
    "Invia una Email al Supporto Tecnico della OVRA",
};
static_assert(std::size(HelpMenuTextsEntries) == 5 * 5);

constexpr const char* ProjectNameTextsEntries[] = {
    // French
    "Nouveau Projet",
    "Projet Importé",
    // English
    "New Project",
    "Imported Project",
    // Spanish
    "Nuevo Proyecto",
    "Imported Project",
    // German
    "Neues Projekt",
    "Imported Project",
    // Italian
    "Nuovo Progetto",
    "Imported Project",
};
static_assert(std::size(ProjectNameTextsEntries) == 5 * 2);

constexpr const char* MessageTextsEntries[] = {
    // French
    "Le projet actuel a été modifié. Voulez-vous sauvegarder ces changements?",
    "Projet complet, vous ne pouvez plus ajouter de nouvel enregistrement GPS!",
    "Valeur de Latitude incorrecte!",
    "Valeur de Longitude incorrecte!",
    "Valeur de Tolerance incorrecte!",
    "Référence de Fichier incorrecte!",
    "Le presse-papier de Windows ne contient pas de données utiles!",
    "Ce fichier est en lecture seule. Choisissez un autre nom.",
    // English
    "The current project has been modified. Do you want to save these changes?",
    "Project full, you cannot add more new GPS record!",
    "Wrong Latitude value!",
    "Wrong Longitude value!",
    "Wrong Tolerance value!",
    "Wrong File reference!",
    "The Windows Clipboard does not contain usefull data!",
    "This file is read-only. Choose another name.",
    // Spanish
    "El proyecto actual has sido modificado. ¿Desea guardar los cambios?",
    "Project full, you cannot add more new GPS record!",
    "Wrong Latitude value!",
    "Wrong Longitude value!",
    "Wrong Tolerance value!",
    "Wrong File reference!",
    "The Windows Clipboard does not contain usefull data!",
    "Este archivo es de solo lectura. Elija otro nombre.",
    // German
    "Aktuelles Projekt wurde geändert. Wünschen Sie die Änderungen zu speichern?",
    "Project full, you cannot add more new GPS record!",
    "Wrong Latitude value!",
    "Wrong Longitude value!",
    "Wrong Tolerance value!",
    "Wrong File reference!",
    "The Windows Clipboard does not contain usefull data!",
    "Diese Datei ist schreibgeschützt. Wählen Sie einen anderen Namen.",
    // Italian
    "The current project has been modified. Do you want to save these changes?",
    "Project full, you cannot add more new GPS record!",
    "Wrong Latitude value!",
    "Wrong Longitude value!",
    "Wrong Tolerance value!",
    "Wrong File reference!",
    "The Windows Clipboard does not contain usefull data!",
    "Questo file è di sola lettura. Scegliere un altro nome.",
};
static_assert(std::size(MessageTextsEntries) == 5 * 8);

constexpr const char* ListTextsEntries[] = {
    // French
    "N°",
    "Latitude",
    "Longitude",
    "Tolérance",
    "Mode",
    "Fichier",
    "Commentaires",
    "Circuit",
    "Alarme",
    "Parcours libre",
    // English
    "N°",
    "Latitude",
    "Longitude",
    "Tolerance",
    "Mode",
    "File",
    "Comments",
    "Track",
    "Alarm",
    "Free Tour",
    // Spanish
    "N°",
    "Latitude",
    "Longitude",
    "Tolerance",
    "Mode",
    "File",
    "Comments",
    "Track",
    "Alarm",
    "Free Tour",
    // German
    "N°",
    "Latitude",
    "Longitude",
    "Tolerance",
    "Mode",
    "File",
    "Comments",
    "Track",
    "Alarm",
    "Free Tour",
    // Italian
    "N°",
    "Latitude",
    "Longitude",
    "Tolerance",
    "Mode",
    "File",
    "Comments",
    "Track",
    "Alarm",
    "Free Tour",
};
static_assert(std::size(ListTextsEntries) == 5 * 10);

constexpr const char* EditorPanelTextsEntries[] = {
    // French
    "Latitude :",
    "Longitude :",
    "Tolérance :",
    "Mode :",
    "Fichier :",
    "Commentaires :",
    "Circuit",
    "Alarme",
    "Affecter",
    "Nouveau",
    "de +90 à -90 degrées",
    "de +180 à -180 degrées",
    "Degrées :",
    "Minutes :",
    "Secondes.d :",
    "de 0 à 1000 mètres",
    "de 1 à 999",
    "Minutes.d:",
    "Parcours libre",
    // English
    "Latitude:",
    "Longitude:",
    "Tolerance:",
    "Mode:",
    "File:",
    "Comments",
    "Track",
    "Alarm",
    "Set data",
    "New",
    "+90 to -90 degrees",
    "+180 to -180 degrees",
    "Degrees:",
    "Minutes:",
    "Secondes.d:",
    "0 to 1000 meters",
    "1 to 999",
    "Minutes.d:",
    "Free Tour",
    // Spanish
    "Latitude:",
    "Longitude:",
    "Tolerance:",
    "Mode:",
    "File:",
    "Comments",
    "Track",
    "Alarm",
    "Set data",
    "New",
    "+90 to -90 degrees",
    "+180 to -180 degrees",
    "Degrees:",
    "Minutes:",
    "Secondes.d:",
    "0 to 1000 meters",
    "1 to 999",
    "Minutes.d:",
    "Free Tour",
    // German
    "Latitude:",
    "Longitude:",
    "Tolerance:",
    "Mode:",
    "File:",
    "Comments",
    "Track",
    "Alarm",
    "Set data",
    "New",
    "+90 to -90 degrees",
    "+180 to -180 degrees",
    "Degrees:",
    "Minutes:",
    "Secondes.d:",
    "0 to 1000 meters",
    "1 to 999",
    "Minutes.d:",
    "Free Tour",
    // Italian
    "Latitude:",
    "Longitude:",
    "Tolerance:",
    "Mode:",
    "File:",
    "Comments",
    "Track",
    "Alarm",
    "Set data",
    "New",
    "+90 to -90 degrees",
    "+180 to -180 degrees",
    "Degrees:",
    "Minutes:",
    "Secondes.d:",
    "0 to 1000 meters",
    "1 to 999",
    "Minutes.d:",
    "Free Tour",
};
static_assert(std::size(EditorPanelTextsEntries) == 5 * 19);

constexpr const char* PropertiesTextsEntries[] = {
    // French
    "Propriétés du Projet",
    " Nom du Projet :",
    " Sujet :",
    " Auteur :",
    " Copyright :",
    " Client :",
    " Date de création :",
    " Commentaires :",
    // English
    "Project Properties",
    " Name of Project :",
    " Subject :",
    " Author :",
    " Copyright :",
    " Customer :",
    " Creation Date :",
    " Comments :",
    // Spanish
    "Propiedades de Proyecto",
    " Nombre de Proyecto:",
    " Tema:",
    " Autor:",
    " Copyright:",
    " Cliente:",
    " Fecha de Creación:",
    " Comentarios:",
    // German
    "Projekteigenschaften",
    " Projektname : ",
    " Thema : ",
    " Autor : ",
    " Copyright :",
    " Klient :",
    " Erzeugungsdatum : ",
    " Kommentare :",
    // Italian
    "Proprietà del Progetto:",
    " Nome del Progetto:",
    " Oggetto:",
    " Autore:",
    " Copyright:",
    " Cliente:",
    " Data della Creazione:",
    " Commenti:",
};
static_assert(std::size(PropertiesTextsEntries) == 5 * 8);

constexpr const char* ProgressTextsEntries[] = {
    // French
    "Sauvegarde du Projet...",
    "Cette version de fichier projet ",
    " n'est pas compatible avec la version actuelle du programme!",
    "Version de fichier projet inconnue!",
    "Ouverture du Projet...",
    "Création du fichier GPS...",
    // English
    "Saving Project...",
    "This project file version ",
    " is not compatible with your current version of program!",
    "Unkown project file version!",
    "Opening Project...",
    "Creating GPS file...",
    // Spanish
    "Saving Project...",
    "Esta versión de Archivo Proyecto",
    " no es compatible con la versión actual de este programa",
    "Versión de Proyecto desconocida",
    "Opening Project...",
    "Creating GPS file...",
    // German
    "Saving Project...",
    "Diese Version des Dateiprojekts ",
    " ist nicht mit der aktuellen Programmversion kompatibel!",
    "Version des Dateiprojekts unbekannt!",
    "Opening Project...",
    "Creating GPS file...",
    // Italian
    "Saving Project...",
    "This project file version ",
    " is not compatible with your current version of program!",
    "Unkown project file version!",
    "Opening Project...",
    "Creating GPS file...",
};
static_assert(std::size(ProgressTextsEntries) == 5 * 6);

constexpr const char* ButtonTextsEntries[] = {
    // French
    "OK",
    "Annuler",
    // English
    "OK",
    "Cancel",
    // Spanish
    "OK",
    "Cancel",
    // German
    "OK",
    "Abbruch",
    // Italian
    "Ok",
    "Cancella",
};
static_assert(std::size(ButtonTextsEntries) == 5 * 2);

constexpr const char* ToolbarHintTextsEntries[] = {
    // French
    "Ajouter un point GPS",
    "Supprimer le(s) point(s) GPS sélectionnés",
    "Couper",
    "Copier",
    "Coller",
    "Créer un nouveau projet",
    "Ouvrir un fichier projet",
    "Enregistrer le projet",
    "Construire le fichier GPS",
    "Défaire l'édition précédente",
    "Refaire l'édition suivante",
    // English
    "Add a GPS entry",
    "Delete selected GPS entry",
    "Cut",
    "Copy",
    "Paste",
    "Create a new project",
    "Open a project file",
    "Save current project",
    "Build GPS File",
    "Undo last edition",
    "Redo next edition",
    // Spanish
    "Add a GPS entry",
    "Delete selected GPS entry",
    "Cortar",
    "Copiar",
    "Pegar",
    "Nuevo Proyecto",
    "Abrir Proyecto",
    "Guardar Proyecto",
    "Build GPS File",
    "Undo last edition",
    "Redo next edition",
    // German
    "Add a GPS entry",
    "Delete selected GPS entry",
    "Ausschneiden",
    "Kopieren",
    "Einfügen",
    "Neues Projekt",
    "Öffnen Projekt",
    "Speichern aktuelles Projekt",
    "Build GPS File",
    "Undo last edition",
    "Redo next edition",
    // Italian
    "Add a GPS entry",
    "Delete selected GPS entry",
    "Taglia",
    "Copia",
    "Incolla",
    "Crea un nuovo Progetto",
    "Apri un file di Progetto",
    "Salva il Progetto corrente",
    "Build GPS File",
    "Undo last edition",
    "Redo next edition",
};
static_assert(std::size(ToolbarHintTextsEntries) == 5 * 11);

constexpr const char* PopupMenuTextsEntries[] = {
    // French
    "Supprimer",
    "Couper",
    "Copier",
    "Coller",
    "Voir dans Google Maps",
    // English
    "Delete",
    "Cut",
    "Copy",
    "Paste",
    "Show in Google Maps",
    // Spanish
    "Delete",
    "Cortar",
    "Copiar",
    "Pegar",
    "Show in Google Maps",
    // German
    "Delete",
    "Ausschneiden",
    "Kopieren",
    "Einfügen",
    "Show in Google Maps",
    // Italian
    "Delete",
    "Taglia",
    "Copia",
    "Incolla",
    "Show in Google Maps",
};
static_assert(std::size(PopupMenuTextsEntries) == 5 * 5);

// Check Project: the window's caption, its lines and its controls. %1, %2, %3 stand for the
// point numbers, the file number or the value names, and the distance in metres.
constexpr const char* CheckTextsEntries[] = {
    // French
    "Vérification du projet",
    "Aucun problème trouvé.",
    "Points %1 et %2 : leurs zones se chevauchent (%3 m d'écart).",
    "Les points %1 jouent le même fichier %2.",
    "Point %1 : valeur inutilisable par l'appareil (%2).",
    "Le point %1 est loin de tous les autres : %2 m du plus proche.",
    "Double-cliquez sur un problème pour sélectionner ses points.",
    "Fermer",
    // English
    "Check Project",
    "No problem found.",
    "Points %1 and %2: their zones overlap (%3 m apart).",
    "Points %1 play the same file %2.",
    "Point %1: a value the device cannot use (%2).",
    "Point %1 is far from all others: %2 m from the nearest.",
    "Double-click a problem to select its points.",
    "Close",
    // Spanish
    "Comprobación del proyecto",
    "No se encontró ningún problema.",
    "Puntos %1 y %2: sus zonas se superponen (a %3 m).",
    "Los puntos %1 reproducen el mismo archivo %2.",
    "Punto %1: un valor que el aparato no puede usar (%2).",
    "El punto %1 está lejos de todos los demás: a %2 m del más cercano.",
    "Haga doble clic en un problema para seleccionar sus puntos.",
    "Cerrar",
    // German
    "Projektprüfung",
    "Kein Problem gefunden.",
    "Punkte %1 und %2: ihre Zonen überschneiden sich (%3 m Abstand).",
    "Die Punkte %1 spielen dieselbe Datei %2.",
    "Punkt %1: ein Wert, den das Gerät nicht verwenden kann (%2).",
    "Punkt %1 ist weit von allen anderen entfernt: %2 m bis zum nächsten.",
    "Doppelklicken Sie auf ein Problem, um seine Punkte auszuwählen.",
    "Schließen",
    // Italian
    "Verifica del progetto",
    "Nessun problema trovato.",
    "Punti %1 e %2: le loro zone si sovrappongono (a %3 m).",
    "I punti %1 riproducono lo stesso file %2.",
    "Punto %1: un valore non utilizzabile dal dispositivo (%2).",
    "Il punto %1 è lontano da tutti gli altri: %2 m dal più vicino.",
    "Fare doppio clic su un problema per selezionarne i punti.",
    "Chiudi",
};
static_assert(std::size(CheckTextsEntries) == 5 * 8);
// Importing and exporting GPX and KML: progress captions, the reasons a GPX file is refused
// (with its line and column) and the warning that names what an export cannot hold.
constexpr const char* ExchangeTextsEntries[] = {
    // French
    "Importation du fichier GPX...",
    "Exportation du fichier GPX...",
    "Exportation du fichier KML...",
    "Fichier GPX, ligne %1, colonne %2 : %3",
    "le fichier est vide",
    "le fichier se termine avant la fin du document",
    "le XML est mal formé (%1)",
    "les déclarations d'entités ne sont pas acceptées",
    "les éléments sont imbriqués sur plus de %1 niveaux",
    "une balise dépasse %1 octets",
    "l'élément racine est <%1>, et non <gpx>",
    "<%1> n'a pas d'attribut %2",
    "%1 \"%2\" n'est pas un nombre",
    "%1, %2 : %3. GPX et KML ne peuvent pas contenir cela, rien n'a donc été écrit.",
    "Point %1",
    "Projet",
    "latitude",
    "longitude",
    "commentaire",
    "nom",
    "sujet",
    "auteur",
    "copyright",
    "client",
    "date de création",
    "ligne de commentaire %1",
    "%1 est hors de -90 à +90",
    "%1 est hors de -180 à +180",
    "%1 n'est pas un nombre fini",
    "le texte contient le caractère de contrôle %1",
    // English
    "Importing GPX file...",
    "Exporting GPX file...",
    "Exporting KML file...",
    "GPX file, line %1, column %2: %3",
    "the file is empty",
    "the file ends before the document is complete",
    "the XML is not well-formed (%1)",
    "entity declarations are not accepted",
    "the elements are nested more than %1 deep",
    "a tag is longer than %1 bytes",
    "the root element is <%1>, not <gpx>",
    "<%1> has no %2 attribute",
    "%1 \"%2\" is not a number",
    "%1, %2: %3. GPX and KML cannot hold this, so nothing was written.",
    "Point %1",
    "Project",
    "latitude",
    "longitude",
    "comment",
    "name",
    "subject",
    "author",
    "copyright",
    "customer",
    "creation date",
    "comment line %1",
    "%1 is outside -90 to +90",
    "%1 is outside -180 to +180",
    "%1 is not a finite number",
    "the text holds the control character %1",
    // Spanish
    "Importando archivo GPX...",
    "Exportando archivo GPX...",
    "Exportando archivo KML...",
    "Archivo GPX, línea %1, columna %2: %3",
    "el archivo está vacío",
    "el archivo termina antes del final del documento",
    "el XML no está bien formado (%1)",
    "no se aceptan declaraciones de entidades",
    "los elementos están anidados a más de %1 niveles",
    "una etiqueta ocupa más de %1 bytes",
    "el elemento raíz es <%1>, no <gpx>",
    "<%1> no tiene atributo %2",
    "%1 \"%2\" no es un número",
    "%1, %2: %3. GPX y KML no pueden contener esto, así que no se ha escrito nada.",
    "Punto %1",
    "Proyecto",
    "latitud",
    "longitud",
    "comentario",
    "nombre",
    "tema",
    "autor",
    "copyright",
    "cliente",
    "fecha de creación",
    "línea de comentario %1",
    "%1 está fuera de -90 a +90",
    "%1 está fuera de -180 a +180",
    "%1 no es un número finito",
    "el texto contiene el carácter de control %1",
    // German
    "GPX-Datei wird importiert...",
    "GPX-Datei wird exportiert...",
    "KML-Datei wird exportiert...",
    "GPX-Datei, Zeile %1, Spalte %2: %3",
    "die Datei ist leer",
    "die Datei endet vor dem Ende des Dokuments",
    "das XML ist nicht wohlgeformt (%1)",
    "Entitätsdeklarationen werden nicht angenommen",
    "die Elemente sind tiefer als %1 Ebenen verschachtelt",
    "ein Tag ist länger als %1 Bytes",
    "das Wurzelelement ist <%1>, nicht <gpx>",
    "<%1> hat kein Attribut %2",
    "%1 \"%2\" ist keine Zahl",
    "%1, %2: %3. GPX und KML können das nicht aufnehmen, daher wurde nichts geschrieben.",
    "Punkt %1",
    "Projekt",
    "Breitengrad",
    "Längengrad",
    "Kommentar",
    "Name",
    "Thema",
    "Autor",
    "Copyright",
    "Kunde",
    "Erstellungsdatum",
    "Kommentarzeile %1",
    "%1 liegt außerhalb von -90 bis +90",
    "%1 liegt außerhalb von -180 bis +180",
    "%1 ist keine endliche Zahl",
    "der Text enthält das Steuerzeichen %1",
    // Italian
    "Importazione del file GPX...",
    "Esportazione del file GPX...",
    "Esportazione del file KML...",
    "File GPX, riga %1, colonna %2: %3",
    "il file è vuoto",
    "il file termina prima della fine del documento",
    "l'XML non è ben formato (%1)",
    "le dichiarazioni di entità non sono accettate",
    "gli elementi sono annidati su più di %1 livelli",
    "un tag supera i %1 byte",
    "l'elemento radice è <%1>, non <gpx>",
    "<%1> non ha l'attributo %2",
    "%1 \"%2\" non è un numero",
    "%1, %2: %3. GPX e KML non possono contenerlo, quindi non è stato scritto nulla.",
    "Punto %1",
    "Progetto",
    "latitudine",
    "longitudine",
    "commento",
    "nome",
    "oggetto",
    "autore",
    "copyright",
    "cliente",
    "data di creazione",
    "riga di commento %1",
    "%1 è fuori da -90 a +90",
    "%1 è fuori da -180 a +180",
    "%1 non è un numero finito",
    "il testo contiene il carattere di controllo %1",
};
static_assert(std::size(ExchangeTextsEntries) == 5 * 30);

// The map panel: its title, buttons, pop-up item, settings dialog and status line.
constexpr const char* MapTextsEntries[] = {
    // French
    "Carte",
    "Nouveau point ici",
    "Voir tous les points",
    "Zoom avant",
    "Zoom arrière",
    "Paramètres de la carte",
    "Fond de carte:",
    "OpenStreetMap standard",
    "OpenTopoMap",
    "Modèle personnalisé",
    "Adresse des tuiles ({z}, {x}, {y}):",
    "Signaler une erreur de carte",
    "Le serveur de tuiles a refusé la carte (%1) ; aucune tuile n'est demandée avant %2. Options > Paramètres de la carte... propose d'autres serveurs.",
    "Adresse de tuiles incorrecte : elle doit commencer par http:// ou https:// et contenir {z}, {x} et {y} !",
    "Affiché sur la carte:",
    // English
    "Map",
    "New point here",
    "Fit all points",
    "Zoom in",
    "Zoom out",
    "Map Settings",
    "Map tiles:",
    "OpenStreetMap standard",
    "OpenTopoMap",
    "Custom template",
    "Tile address ({z}, {x}, {y}):",
    "Report a map problem",
    "The tile server refused the map (%1); no tiles are asked for until %2. Options > Map Settings... offers other servers.",
    "Wrong tile address: it must start with http:// or https:// and hold {z}, {x} and {y}!",
    "Shown on the map:",
    // Spanish
    "Mapa",
    "Nuevo punto en este lugar",
    "Ver todos los puntos",
    "Acercar",
    "Alejar",
    "Ajustes del mapa",
    "Teselas:",
    "OpenStreetMap estándar",
    "OpenTopoMap",
    "Plantilla personalizada",
    "Dirección de las teselas ({z}, {x}, {y}):",
    "Informar de un error en el mapa",
    "El servidor de teselas rechazó el mapa (%1); no se piden teselas hasta %2. Options > Ajustes del mapa... ofrece otros servidores.",
    "Dirección de teselas incorrecta: debe empezar por http:// o https:// y contener {z}, {x} y {y}.",
    "Mostrado en el mapa:",
    // German
    "Karte",
    "Neuer Punkt hier",
    "Alle Punkte zeigen",
    "Hineinzoomen",
    "Herauszoomen",
    "Karteneinstellungen",
    "Kacheln:",
    "OpenStreetMap Standard",
    "OpenTopoMap",
    "Eigene Vorlage",
    "Kachel-Adresse ({z}, {x}, {y}):",
    "Kartenfehler melden",
    "Der Kachel-Server hat die Karte abgelehnt (%1); bis %2 werden keine Kacheln angefordert. Möglichkeiten > Karteneinstellungen... bietet andere Server.",
    "Falsche Kachel-Adresse: sie muss mit http:// oder https:// beginnen und {z}, {x} und {y} enthalten!",
    "Auf der Karte angezeigt:",
    // Italian
    "Mappa",
    "Nuovo punto qui",
    "Mostra tutti i punti",
    "Ingrandisci",
    "Riduci",
    "Impostazioni mappa",
    "Tessere:",
    "OpenStreetMap standard",
    "OpenTopoMap",
    "Modello personalizzato",
    "Indirizzo delle tessere ({z}, {x}, {y}):",
    "Segnala un errore sulla mappa",
    "Il server delle tessere ha rifiutato la mappa (%1); nessuna tessera viene richiesta fino a %2. Opzioni > Impostazioni mappa... offre altri server.",
    "Indirizzo delle tessere errato: deve iniziare con http:// o https:// e contenere {z}, {x} e {y}!",
    "Mostrato sulla mappa:",
};
static_assert(std::size(MapTextsEntries) == 5 * 15);
constexpr std::array AllTables{
    TextTable::AboutTexts, TextTable::FileMenuTexts, TextTable::EditMenuTexts,
    TextTable::OptionsMenuTexts, TextTable::LanguageMenuTexts, TextTable::HelpMenuTexts,
    TextTable::ProjectNameTexts, TextTable::MessageTexts, TextTable::ListTexts,
    TextTable::EditorPanelTexts, TextTable::PropertiesTexts, TextTable::ProgressTexts,
    TextTable::ButtonTexts, TextTable::ToolbarHintTexts, TextTable::PopupMenuTexts,
    TextTable::CheckTexts, TextTable::ExchangeTexts, TextTable::MapTexts};

constexpr bool InDeclarationOrder()
{
    for (std::size_t t = 0; t < AllTables.size(); ++t)
        if (static_cast<std::size_t>(AllTables[t]) != t)
            return false;
    return true;
}
static_assert(InDeclarationOrder(), "Entries() indexes the built tables by enum value");

constexpr std::span<const char* const> RawEntries(TextTable table)
{
    switch (table) {
    case TextTable::AboutTexts: return AboutTextsEntries;
    case TextTable::FileMenuTexts: return FileMenuTextsEntries;
    case TextTable::EditMenuTexts: return EditMenuTextsEntries;
    case TextTable::OptionsMenuTexts: return OptionsMenuTextsEntries;
    case TextTable::LanguageMenuTexts: return LanguageMenuTextsEntries;
    case TextTable::HelpMenuTexts: return HelpMenuTextsEntries;
    case TextTable::ProjectNameTexts: return ProjectNameTextsEntries;
    case TextTable::MessageTexts: return MessageTextsEntries;
    case TextTable::ListTexts: return ListTextsEntries;
    case TextTable::EditorPanelTexts: return EditorPanelTextsEntries;
    case TextTable::PropertiesTexts: return PropertiesTextsEntries;
    case TextTable::ProgressTexts: return ProgressTextsEntries;
    case TextTable::ButtonTexts: return ButtonTextsEntries;
    case TextTable::ToolbarHintTexts: return ToolbarHintTextsEntries;
    case TextTable::PopupMenuTexts: return PopupMenuTextsEntries;
    case TextTable::CheckTexts: return CheckTextsEntries;
    case TextTable::ExchangeTexts: return ExchangeTextsEntries;
    case TextTable::MapTexts: return MapTextsEntries;
    }
    return {};
}

// The strings are built on first use rather than as namespace-scope objects, so a lookup made
// from another file's static initialiser never meets an unconstructed table.
const std::vector<std::string>& Entries(TextTable table)
{
    static const auto tables = [] {
        std::array<std::vector<std::string>, AllTables.size()> built;
        for (std::size_t t = 0; t < AllTables.size(); ++t) {
            const auto raw = RawEntries(AllTables[t]);
            built[t].assign(raw.begin(), raw.end());
        }
        return built;
    }();
    static const std::vector<std::string> none;
    const auto position = static_cast<std::size_t>(table);
    return position < tables.size() ? tables[position] : none;
}

} // namespace

const std::string& LanguageText(TextTable table, int item)
{
    static const std::string empty;
    const auto& entries = Entries(table);
    const int count = TableItemCount(table);
    if (item < 1 || item > count)
        return empty;
    const int language =
        LanguageIndex >= 1 && LanguageIndex <= LanguageCount ? LanguageIndex : EnglishIndex;
    return entries[static_cast<std::size_t>((language - 1) * count + (item - 1))];
}

int TableItemCount(TextTable table)
{
    return static_cast<int>(RawEntries(table).size()) / LanguageCount;
}

std::string FillText(std::string_view pattern, std::initializer_list<std::string_view> values)
{
    std::string text;
    text.reserve(pattern.size() + 32);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        const auto index = static_cast<std::size_t>(next - '1');
        if (pattern[i] == '%' && next >= '1' && next <= '9' && index < values.size()) {
            text.append(values.begin()[index]);
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

} // namespace uzuviv
