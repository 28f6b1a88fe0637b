<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="es">
<context>
    <name>Coincidencias</name>
    <message numerus="yes">
        <source>%n dormitorios (mínimo %1)</source>
        <translation>
            <numerusform>%n dormitorio (mínimo %1)</numerusform>
            <numerusform>%n dormitorios (mínimo %1)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CopiaServidor</name>
    <message numerus="yes">
        <source>%1: %n filas</source>
        <translation>
            <numerusform>%1: %n fila</numerusform>
            <numerusform>%1: %n filas</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>La tabla %1 tiene %n filas en la oficina y %2 en el servidor: la copia se ha deshecho.</source>
        <translation>
            <numerusform>La tabla %1 tiene %n fila en la oficina y %2 en el servidor: la copia se ha deshecho.</numerusform>
            <numerusform>La tabla %1 tiene %n filas en la oficina y %2 en el servidor: la copia se ha deshecho.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ExportacionOficina</name>
    <message numerus="yes">
        <source>%n tipos</source>
        <translation>
            <numerusform>%n tipo</numerusform>
            <numerusform>%n tipos</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n localidades</source>
        <translation>
            <numerusform>%n localidad</numerusform>
            <numerusform>%n localidades</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n áreas</source>
        <translation>
            <numerusform>%n área</numerusform>
            <numerusform>%n áreas</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n propiedades</source>
        <translation>
            <numerusform>%n propiedad</numerusform>
            <numerusform>%n propiedades</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n propietarios</source>
        <translation>
            <numerusform>%n propietario</numerusform>
            <numerusform>%n propietarios</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n clientes</source>
        <translation>
            <numerusform>%n cliente</numerusform>
            <numerusform>%n clientes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n fotos</source>
        <translation>
            <numerusform>%n foto</numerusform>
            <numerusform>%n fotos</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ImportacionOficina</name>
    <message numerus="yes">
        <source>%n registros de %1 no importados.</source>
        <translation>
            <numerusform>%n registro de %1 no importado.</numerusform>
            <numerusform>%n registros de %1 no importados.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>OrdenServidor</name>
    <message numerus="yes">
        <source>%n filas</source>
        <translation>
            <numerusform>%n fila</numerusform>
            <numerusform>%n filas</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>El servidor ya tenía los datos de esta oficina (%n tablas, %1, iguales en ambos lados): no se ha cambiado nada.</source>
        <translation>
            <numerusform>El servidor ya tenía los datos de esta oficina (%n tabla, %1, iguales en ambos lados): no se ha cambiado nada.</numerusform>
            <numerusform>El servidor ya tenía los datos de esta oficina (%n tablas, %1, iguales en ambos lados): no se ha cambiado nada.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Copiadas %n tablas con %1 a %2; filas y sumas de comprobación iguales en la oficina y en el servidor.</source>
        <translation>
            <numerusform>Copiada %n tabla con %1 a %2; filas y sumas de comprobación iguales en la oficina y en el servidor.</numerusform>
            <numerusform>Copiadas %n tablas con %1 a %2; filas y sumas de comprobación iguales en la oficina y en el servidor.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SchemaBusquedaRapida</name>
    <message numerus="yes">
        <source>índice de texto %1 con %n filas</source>
        <translation>
            <numerusform>índice de texto %1 con %n fila</numerusform>
            <numerusform>índice de texto %1 con %n filas</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>orb::AvisoCoincidencias</name>
    <message numerus="yes">
        <source>%n clientes en espera tienen propiedades nuevas que encajan.</source>
        <translation>
            <numerusform>%n cliente en espera tiene propiedades nuevas que encajan.</numerusform>
            <numerusform>%n clientes en espera tienen propiedades nuevas que encajan.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>orb::ExportacionWeb</name>
    <message numerus="yes">
        <source>Se han exportado %n propiedades.</source>
        <translation>
            <numerusform>Se han exportado %n propiedades.</numerusform>
            <numerusform>Se han exportado %n propiedades.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>orb::FotosPropiedad</name>
    <message numerus="yes">
        <source>%n fotos de una grabación interrumpida colocadas</source>
        <translation>
            <numerusform>%n foto de una grabación interrumpida colocada</numerusform>
            <numerusform>%n fotos de una grabación interrumpida colocadas</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n archivos temporales borrados</source>
        <translation>
            <numerusform>%n archivo temporal borrado</numerusform>
            <numerusform>%n archivos temporales borrados</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>orb::dlgDuplicados</name>
    <message numerus="yes">
        <source>Ya hay %n registros que pueden ser la misma persona:</source>
        <translation>
            <numerusform>Ya hay un registro que puede ser la misma persona:</numerusform>
            <numerusform>Ya hay %n registros que pueden ser la misma persona:</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Ya hay %n propiedades disponibles en esta dirección:</source>
        <translation>
            <numerusform>Ya hay otra propiedad disponible en esta dirección:</numerusform>
            <numerusform>Ya hay %n propiedades disponibles en esta dirección:</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>orb::frmAgenda</name>
    <message numerus="yes">
        <source>Calendario de %1 guardado en %2 (%n visitas).

¿Quiere abrirlo ahora?</source>
        <translation>
            <numerusform>Calendario de %1 guardado en %2 (%n visitas).

¿Quiere abrirlo ahora?</numerusform>
            <numerusform>Calendario de %1 guardado en %2 (%n visitas).

¿Quiere abrirlo ahora?</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>orb::frmCoincidencias</name>
    <message numerus="yes">
        <source>%n propiedades encajan con el cliente %1 (%2).</source>
        <translation>
            <numerusform>%n propiedad encaja con el cliente %1 (%2).</numerusform>
            <numerusform>%n propiedades encajan con el cliente %1 (%2).</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n clientes buscan una propiedad como la %1.</source>
        <translation>
            <numerusform>%n cliente busca una propiedad como la %1.</numerusform>
            <numerusform>%n clientes buscan una propiedad como la %1.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n propiedades para usted</source>
        <translation>
            <numerusform>%n propiedad para usted</numerusform>
            <numerusform>%n propiedades para usted</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Le adjuntamos el dossier de las propiedades %1, que encajan con lo que busca.</source>
        <translation>
            <numerusform>Le adjuntamos el dossier de la propiedad %1, que encaja con lo que busca.</numerusform>
            <numerusform>Le adjuntamos el dossier de las propiedades %1, que encajan con lo que busca.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>orbalia-backup</name>
    <message numerus="yes">
        <source>Borradas las copias más antiguas que las %n más recientes: %1.</source>
        <translation>
            <numerusform>Borradas las copias más antiguas que la más reciente: %1.</numerusform>
            <numerusform>Borradas las copias más antiguas que las %n más recientes: %1.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>orbalia-install</name>
    <message numerus="yes">
        <source>Instalación creada en %1 con %n propiedades de demostración (%2 ms).</source>
        <translation>
            <numerusform>Instalación creada en %1 con %n propiedad de demostración (%2 ms).</numerusform>
            <numerusform>Instalación creada en %1 con %n propiedades de demostración (%2 ms).</numerusform>
        </translation>
    </message>
</context>
</TS>
