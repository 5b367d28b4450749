<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- A small German translation, for the test that loads translations. -->
<TS version="2.1" language="de_DE">
<context>
    <name>CUserText</name>
    <message>
        <source>Play All</source>
        <translation>Alle abspielen</translation>
    </message>
    <message>
        <source>Songs</source>
        <translation>Lieder</translation>
    </message>
    <message>
        <source>Are you sure you want to remove all checked items?</source>
        <translation>Alle angehakten Einträge wirklich entfernen?</translation>
    </message>
</context>
</TS>
