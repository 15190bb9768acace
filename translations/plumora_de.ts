<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>HelpLanguage</name>
    <message>
        <source>The help pages are in English for now.</source>
        <translation>Die Hilfeseiten gibt es vorerst nur auf Englisch.</translation>
    </message>
</context>
</TS>
