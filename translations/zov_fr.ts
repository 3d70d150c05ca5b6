<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name></name>
    <message>
        <source> ZOV Tralvex Freeware version</source>
        <translation> ZOV Tralvex Freeware version</translation>
    </message>
    <message>
        <source>English</source>
        <translation>Français</translation>
    </message>
    <message>
        <source>No language files found.</source>
        <translation>Aucun fichier de langue trouvé.</translation>
    </message>
    <message>
        <source>Error while trying to read configuration file: %1
</source>
        <translation>Erreur lors de la lecture du fichier de configuration : %1
</translation>
    </message>
    <message>
        <source>No files have been selected yet for comparison.</source>
        <translation>Aucun fichier n&apos;a encore été choisi pour la comparaison.</translation>
    </message>
    <message>
        <source>Xml file 1 hasn&apos;t been selected yet.</source>
        <translation>Le fichier XML 1 n&apos;a pas encore été choisi.</translation>
    </message>
    <message>
        <source>Xml file 2 hasn&apos;t been selected yet.</source>
        <translation>Le fichier XML 2 n&apos;a pas encore été choisi.</translation>
    </message>
    <message>
        <source>Reset Visualization...</source>
        <translation>Réinitialisation de l&apos;affichage...</translation>
    </message>
    <message>
        <source>Initiate diff scenario</source>
        <translation>Préparation de la comparaison</translation>
    </message>
    <message>
        <source>Error in init function. For details see log file.</source>
        <translation>Erreur à l&apos;initialisation. Voir le fichier journal pour les détails.</translation>
    </message>
    <message>
        <source>Parsing XML files...</source>
        <translation>Lecture des fichiers XML...</translation>
    </message>
    <message>
        <source>Error while parsing XML file.
For details see log file.</source>
        <translation>Erreur lors de la lecture d&apos;un fichier XML.
Voir le fichier journal pour les détails.</translation>
    </message>
    <message>
        <source>Running the tree compare process...</source>
        <translation>Comparaison des arbres en cours...</translation>
    </message>
    <message>
        <source>Comparison finished.</source>
        <translation>Comparaison terminée.</translation>
    </message>
    <message>
        <source>Freeing memory, cleaning up...</source>
        <translation>Libération de la mémoire, nettoyage...</translation>
    </message>
    <message>
        <source>ZOV log messages</source>
        <translation>Messages du journal ZOV</translation>
    </message>
    <message>
        <source>&lt;h3&gt;ZOV %1&lt;/h3&gt;&lt;p&gt;ZOV compares two XML documents as trees. It shows the old document beside the merged result, coloured by the kind of change found for every node, writes the merged result with change marks as an XML file and logs each run.&lt;/p&gt;&lt;p&gt;Freeware.&lt;/p&gt;</source>
        <translation>&lt;h3&gt;ZOV %1&lt;/h3&gt;&lt;p&gt;ZOV compare deux documents XML sous forme d&apos;arbres. Il affiche l&apos;ancien document à côté du résultat fusionné, chaque nœud coloré selon le type de changement trouvé, écrit le résultat avec des marques de changement dans un fichier XML et journalise chaque exécution.&lt;/p&gt;&lt;p&gt;Logiciel gratuit.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Xml files (*.xml *.XML);;Svg files (*.svg *.SVG);;All files (*.*)</source>
        <translation>Fichiers XML (*.xml *.XML);;Fichiers SVG (*.svg *.SVG);;Tous les fichiers (*.*)</translation>
    </message>
    <message>
        <source>Xml file 1</source>
        <translation>Fichier XML 1</translation>
    </message>
    <message>
        <source>Xml file 2</source>
        <translation>Fichier XML 2</translation>
    </message>
    <message>
        <source>Language file %1 not found.</source>
        <translation>Fichier de langue %1 introuvable.</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Fichier</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Édition</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Langue</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>Configuration</source>
        <translation>Configuration</translation>
    </message>
    <message>
        <source>Ctrl+C</source>
        <translation>Ctrl+C</translation>
    </message>
    <message>
        <source>About Qt</source>
        <translation>À propos de Qt</translation>
    </message>
    <message>
        <source> About ZOV</source>
        <translation> À propos de ZOV</translation>
    </message>
    <message>
        <source>Elements</source>
        <translation>Éléments</translation>
    </message>
    <message>
        <source>Attributes</source>
        <translation>Attributs</translation>
    </message>
    <message>
        <source>Changemarks</source>
        <translation>Marques de changement</translation>
    </message>
    <message>
        <source>View</source>
        <translation>Affichage</translation>
    </message>
    <message>
        <source>Next change</source>
        <translation>Modification suivante</translation>
    </message>
    <message>
        <source>Go to the next change</source>
        <translation>Aller à la modification suivante</translation>
    </message>
    <message>
        <source>Previous change</source>
        <translation>Modification précédente</translation>
    </message>
    <message>
        <source>Go to the previous change</source>
        <translation>Aller à la modification précédente</translation>
    </message>
    <message>
        <source>Hide complete matches</source>
        <translation>Masquer les correspondances complètes</translation>
    </message>
    <message>
        <source>Hide the nodes whose whole subtree matches</source>
        <translation>Masquer les nœuds dont tout le sous-arbre correspond</translation>
    </message>
    <message>
        <source>Changes:</source>
        <translation>Modifications :</translation>
    </message>
    <message>
        <source>Complete matches are not changes.</source>
        <translation>Les correspondances complètes ne sont pas des modifications.</translation>
    </message>
    <message>
        <source>Next and previous change move only through this kind; click again to move through all changes.</source>
        <translation>Modification suivante et précédente ne parcourent que ce type ; cliquer à nouveau pour parcourir toutes les modifications.</translation>
    </message>
    <message>
        <source>Last change reached.</source>
        <translation>Dernière modification atteinte.</translation>
    </message>
    <message>
        <source>First change reached.</source>
        <translation>Première modification atteinte.</translation>
    </message>
    <message>
        <source>No change found.</source>
        <translation>Aucune modification trouvée.</translation>
    </message>
    <message>
        <source>The change cannot be shown.</source>
        <translation>La modification ne peut pas être affichée.</translation>
    </message>
    <message>
        <source>The change lies %1 levels below the highlighted node, deeper than the view opens: %2</source>
        <translation>La modification se trouve %1 niveaux sous le nœud en surbrillance, plus profond que la vue ne s&apos;ouvre : %2</translation>
    </message>
    <message>
        <source>unchanged</source>
        <translation>identique</translation>
    </message>
    <message>
        <source>moved</source>
        <translation>déplacé</translation>
    </message>
    <message>
        <source>changed</source>
        <translation>modifié</translation>
    </message>
    <message>
        <source>attributes</source>
        <translation>attributs</translation>
    </message>
    <message>
        <source>changed+attr.</source>
        <translation>modifié+attr.</translation>
    </message>
    <message>
        <source>moved+changed</source>
        <translation>déplacé+modifié</translation>
    </message>
    <message>
        <source>moved+attr.</source>
        <translation>déplacé+attr.</translation>
    </message>
    <message>
        <source>moved+changed+attr.</source>
        <translation>déplacé+modifié+attr.</translation>
    </message>
    <message>
        <source>added</source>
        <translation>ajouté</translation>
    </message>
    <message>
        <source>deleted</source>
        <translation>supprimé</translation>
    </message>
    <message>
        <source>shifted</source>
        <translation>décalé</translation>
    </message>
    <message>
        <source>Position changes whose pairs kept their order among their siblings: only insertions or deletions before them changed their index. Unless View &gt; &quot;Show shifted nodes as moved&quot; is on, they are shown as what else changed, or as complete matches.</source>
        <translation>Changements de position dont les paires ont gardé leur ordre parmi leurs frères : seules des insertions ou suppressions avant elles ont changé leur index. Sauf si Affichage &gt; &quot;Montrer les nœuds décalés comme déplacés&quot; est actif, ils sont montrés comme ce qui a changé par ailleurs, ou comme concordances complètes.</translation>
    </message>
    <message>
        <source>Shifted</source>
        <translation>Décalé</translation>
    </message>
    <message>
        <source>Show shifted nodes as moved</source>
        <translation>Montrer les nœuds décalés comme déplacés</translation>
    </message>
    <message>
        <source>Colour the nodes that only shifted because of insertions or deletions before them as moved</source>
        <translation>Colorer comme déplacés les nœuds décalés seulement par des insertions ou suppressions avant eux</translation>
    </message>
    <message>
        <source>(shifted)</source>
        <translation>(décalé)</translation>
    </message>
    <message>
        <source>Shifted: this node kept its order among its siblings; only insertions or deletions before it changed its index.</source>
        <translation>Décalé : ce nœud a gardé son ordre parmi ses frères ; seules des insertions ou suppressions avant lui ont changé son index.</translation>
    </message>
    <message>
        <source>No configuration file %1 yet: the built-in settings are used; Save in the configuration dialog creates the file.</source>
        <translation>Pas encore de fichier de configuration %1 : les réglages intégrés sont utilisés ; Enregistrer dans la boîte de configuration crée le fichier.</translation>
    </message>
</context>
<context>
    <name>Cfgdialog</name>
    <message>
        <source>ZOV Configuration</source>
        <translation>Configuration de ZOV</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Général</translation>
    </message>
    <message>
        <source>General settings</source>
        <translation>Réglages généraux</translation>
    </message>
    <message>
        <source>General Settings</source>
        <translation>Réglages généraux</translation>
    </message>
    <message>
        <source>File handling</source>
        <translation>Gestion des fichiers</translation>
    </message>
    <message>
        <source>write result file</source>
        <translation>écrire le fichier résultat</translation>
    </message>
    <message>
        <source>&apos;human readable&apos; save mode</source>
        <translation>mode d&apos;enregistrement « lisible »</translation>
    </message>
    <message>
        <source>&apos;no whitespace&apos; save mode</source>
        <translation>mode d&apos;enregistrement « sans espaces »</translation>
    </message>
    <message>
        <source>indent step</source>
        <translation>pas d&apos;indentation</translation>
    </message>
    <message>
        <source>file name supplement</source>
        <translation>suffixe du nom de fichier</translation>
    </message>
    <message>
        <source>Globals</source>
        <translation>Global</translation>
    </message>
    <message>
        <source>Hash mode</source>
        <translation>Mode hachage</translation>
    </message>
    <message>
        <source>Write log file</source>
        <translation>Écrire le fichier journal</translation>
    </message>
    <message>
        <source>Log directory</source>
        <translation>Dossier du journal</translation>
    </message>
    <message>
        <source>Number of threads</source>
        <translation>Nombre de threads</translation>
    </message>
    <message>
        <source>Write parser log (debug only)</source>
        <translation>Écrire le journal de l&apos;analyseur (débogage)</translation>
    </message>
    <message>
        <source>Diff mode</source>
        <translation>Mode de comparaison</translation>
    </message>
    <message>
        <source>content mode</source>
        <translation>mode contenu</translation>
    </message>
    <message>
        <source>Excluded elements</source>
        <translation>Éléments exclus</translation>
    </message>
    <message>
        <source>normalize spaces</source>
        <translation>normaliser les espaces</translation>
    </message>
    <message>
        <source>add deleted nodes to result file</source>
        <translation>ajouter les nœuds supprimés au fichier résultat</translation>
    </message>
    <message>
        <source>shift mode</source>
        <translation>mode décalage</translation>
    </message>
    <message>
        <source>Attributes</source>
        <translation>Attributs</translation>
    </message>
    <message>
        <source>ignore attribute order</source>
        <translation>ignorer l&apos;ordre des attributs</translation>
    </message>
    <message>
        <source>ignore attributes</source>
        <translation>ignorer les attributs</translation>
    </message>
    <message>
        <source>compare attribute contents</source>
        <translation>comparer le contenu des attributs</translation>
    </message>
    <message>
        <source>Attribute change marks</source>
        <translation>Marques de changement d&apos;attribut</translation>
    </message>
    <message>
        <source>attribute added</source>
        <translation>attribut ajouté</translation>
    </message>
    <message>
        <source>attribute deleted</source>
        <translation>attribut supprimé</translation>
    </message>
    <message>
        <source>value change</source>
        <translation>changement de valeur</translation>
    </message>
    <message>
        <source>complete match</source>
        <translation>correspondance complète</translation>
    </message>
    <message>
        <source>Anchor elements</source>
        <translation>Éléments d&apos;ancrage</translation>
    </message>
    <message>
        <source>Anchor Elements</source>
        <translation>Éléments d&apos;ancrage</translation>
    </message>
    <message>
        <source>Add element</source>
        <translation>Ajouter un élément</translation>
    </message>
    <message>
        <source>Delete element</source>
        <translation>Supprimer l&apos;élément</translation>
    </message>
    <message>
        <source>Anchor properties</source>
        <translation>Propriétés de l&apos;ancre</translation>
    </message>
    <message>
        <source>path:</source>
        <translation>chemin :</translation>
    </message>
    <message>
        <source>absolute</source>
        <translation>absolu</translation>
    </message>
    <message>
        <source>Text diffing</source>
        <translation>Comparaison de texte</translation>
    </message>
    <message>
        <source>Text Diffing</source>
        <translation>Comparaison de texte</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Réglages</translation>
    </message>
    <message>
        <source>enable text diff</source>
        <translation>activer la comparaison de texte</translation>
    </message>
    <message>
        <source>case sensitive</source>
        <translation>sensible à la casse</translation>
    </message>
    <message>
        <source>min length of common substring</source>
        <translation>longueur minimale des sous-chaînes communes</translation>
    </message>
    <message>
        <source>text insertion start</source>
        <translation>début de texte inséré</translation>
    </message>
    <message>
        <source>text insertion end</source>
        <translation>fin de texte inséré</translation>
    </message>
    <message>
        <source>text deletion start</source>
        <translation>début de texte supprimé</translation>
    </message>
    <message>
        <source>text deletion end</source>
        <translation>fin de texte supprimé</translation>
    </message>
    <message>
        <source>Changemarks</source>
        <translation>Marques de changement</translation>
    </message>
    <message>
        <source>Change Marks</source>
        <translation>Marques de changement</translation>
    </message>
    <message>
        <source>Change mark</source>
        <translation>Marque de changement</translation>
    </message>
    <message>
        <source>Change mark&apos;s text</source>
        <translation>Texte de la marque</translation>
    </message>
    <message>
        <source>Use in result file</source>
        <translation>Utiliser dans le fichier résultat</translation>
    </message>
    <message>
        <source>Complete match</source>
        <translation>Correspondance complète</translation>
    </message>
    <message>
        <source>Position change</source>
        <translation>Changement de position</translation>
    </message>
    <message>
        <source>Content change</source>
        <translation>Changement de contenu</translation>
    </message>
    <message>
        <source>Attribute change</source>
        <translation>Changement d&apos;attribut</translation>
    </message>
    <message>
        <source>Attribute and content change</source>
        <translation>Changement d&apos;attribut et de contenu</translation>
    </message>
    <message>
        <source>Position and content change</source>
        <translation>Changement de position et de contenu</translation>
    </message>
    <message>
        <source>Position and attribute change</source>
        <translation>Changement de position et d&apos;attribut</translation>
    </message>
    <message>
        <source>Position and content and attribute change</source>
        <translation>Changement de position, de contenu et d&apos;attribut</translation>
    </message>
    <message>
        <source>Element added</source>
        <translation>Élément ajouté</translation>
    </message>
    <message>
        <source>Element deleted</source>
        <translation>Élément supprimé</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>Mainwindow</name>
    <message>
        <source>File</source>
        <translation>Fichier</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Édition</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Langue</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>Configuration</source>
        <translation>Configuration</translation>
    </message>
    <message>
        <source>Ctrl+C</source>
        <translation>Ctrl+C</translation>
    </message>
    <message>
        <source>Log messages</source>
        <translation>Messages du journal</translation>
    </message>
    <message>
        <source>Ctrl+L</source>
        <translation>Ctrl+L</translation>
    </message>
    <message>
        <source>About Qt</source>
        <translation>À propos de Qt</translation>
    </message>
    <message>
        <source> About ZOV</source>
        <translation> À propos de ZOV</translation>
    </message>
    <message>
        <source>Ctrl+X</source>
        <translation>Ctrl+X</translation>
    </message>
    <message>
        <source>Xml file 1</source>
        <translation>Fichier XML 1</translation>
    </message>
    <message>
        <source>Xml file 2</source>
        <translation>Fichier XML 2</translation>
    </message>
    <message>
        <source>Diff</source>
        <translation>Comparer</translation>
    </message>
    <message>
        <source>View</source>
        <translation>Affichage</translation>
    </message>
    <message>
        <source>Next change</source>
        <translation>Modification suivante</translation>
    </message>
    <message>
        <source>Go to the next change</source>
        <translation>Aller à la modification suivante</translation>
    </message>
    <message>
        <source>Previous change</source>
        <translation>Modification précédente</translation>
    </message>
    <message>
        <source>Go to the previous change</source>
        <translation>Aller à la modification précédente</translation>
    </message>
    <message>
        <source>Hide complete matches</source>
        <translation>Masquer les correspondances complètes</translation>
    </message>
    <message>
        <source>Hide the nodes whose whole subtree matches</source>
        <translation>Masquer les nœuds dont tout le sous-arbre correspond</translation>
    </message>
</context>
<context>
    <name>dlg_newanchor</name>
    <message>
        <source>Add new element</source>
        <translation>Ajouter un nouvel élément</translation>
    </message>
    <message>
        <source>Element&apos;s name</source>
        <translation>Nom de l&apos;élément</translation>
    </message>
    <message>
        <source>Anchor&apos;s path</source>
        <translation>Chemin de l&apos;ancre</translation>
    </message>
</context>
</TS>
