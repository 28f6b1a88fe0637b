<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="es">
<context>
    <name>Agentes</name>
    <message>
        <source>Agente</source>
        <translation>Agent</translation>
    </message>
    <message>
        <source>¿Quién trabaja en este puesto?</source>
        <translation>Who is working at this seat?</translation>
    </message>
    <message>
        <source>leer los agentes</source>
        <translation>read the agents</translation>
    </message>
</context>
<context>
    <name>Arranque</name>
    <message>
        <source>No se ha podido crear la carpeta [%1]</source>
        <translation>The folder [%1] could not be created</translation>
    </message>
    <message>
        <source>Propiedades en Venta</source>
        <translation>Properties for sale</translation>
    </message>
    <message>
        <source>Clientes de Ventas</source>
        <translation>Sales clients</translation>
    </message>
    <message>
        <source>Propietarios de Ventas</source>
        <translation>Sales owners</translation>
    </message>
    <message>
        <source>Búsqueda de Ventas</source>
        <translation>Sales search</translation>
    </message>
    <message>
        <source>Búsqueda de Clientes de Ventas</source>
        <translation>Sales clients search</translation>
    </message>
    <message>
        <source>Propiedades en Alquiler</source>
        <translation>Properties for rent</translation>
    </message>
    <message>
        <source>Clientes de Alquileres</source>
        <translation>Rental clients</translation>
    </message>
    <message>
        <source>Propietarios de Alquileres</source>
        <translation>Rental owners</translation>
    </message>
    <message>
        <source>Búsqueda de Alquileres</source>
        <translation>Rentals search</translation>
    </message>
    <message>
        <source>Busqueda de Clientes de Alquileres</source>
        <translation>Rental clients search</translation>
    </message>
    <message>
        <source>Ya se está ejecutando una copia del programa y no es recomendable que se ejecute una nueva copia.
¿Seguro que quiere ejecutar una nueva copia del programa?</source>
        <translation>A copy of the program is already running and running a new copy is not recommended.
Are you sure you want to run a new copy of the program?</translation>
    </message>
    <message>
        <source>La base de datos del servidor [%1] está en la versión %2 cuando es necesario que esté en la versión %3.
Pida al administrador que la actualice antes de usar este programa en este puesto (orbalia-install CARPETA --servidor … --actualizar).</source>
        <translation>The database on the server [%1] is at version %2, and it needs to be at version %3.
Ask the administrator to upgrade it before using this program on this seat (orbalia-install FOLDER --servidor … --actualizar).</translation>
    </message>
    <message>
        <source>La base de datos del servidor [%1] está en la versión %2, más nueva que la de este programa (versión %3).
Instale en este puesto la versión del programa que usan los demás puestos.</source>
        <translation>The database on the server [%1] is at version %2, newer than this program&apos;s (version %3).
Install on this seat the version of the program the other seats use.</translation>
    </message>
    <message>
        <source>La base de datos encontrada está en la versión %1 cuando es necesario que esté en la versión %2.

A continuación se procederá a su actualización.</source>
        <translation>The database found is at version %1, and it needs to be at version %2.

It will now be upgraded.</translation>
    </message>
    <message>
        <source>Actualización de base de datos</source>
        <translation>Database upgrade</translation>
    </message>
    <message>
        <source>limpiar la carpeta de fotos</source>
        <translation>clean the photo folder</translation>
    </message>
    <message>
        <source>leer la configuración</source>
        <translation>read the settings</translation>
    </message>
    <message>
        <source>Error al leer la configuración.</source>
        <translation>Error reading the settings.</translation>
    </message>
</context>
<context>
    <name>CamposPersona</name>
    <message>
        <source>&amp;Nombre:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>&amp;Dirección:</source>
        <translation>&amp;Address:</translation>
    </message>
    <message>
        <source>&amp;Localidad:</source>
        <translation>&amp;Town:</translation>
    </message>
    <message>
        <source>C&amp;P:</source>
        <translation>&amp;Postcode:</translation>
    </message>
    <message>
        <source>Pro&amp;vincia:</source>
        <translation>Pro&amp;vince:</translation>
    </message>
    <message>
        <source>&amp;Teléfono:</source>
        <translation>P&amp;hone:</translation>
    </message>
    <message>
        <source>&amp;Móvil:</source>
        <translation>&amp;Mobile:</translation>
    </message>
    <message>
        <source>F&amp;ax:</source>
        <translation>Fa&amp;x:</translation>
    </message>
    <message>
        <source>DN&amp;I:</source>
        <translation>DN&amp;I:</translation>
    </message>
    <message>
        <source>Pa&amp;saporte:</source>
        <translation>Passp&amp;ort:</translation>
    </message>
    <message>
        <source>NI&amp;E:</source>
        <translation>NI&amp;E:</translation>
    </message>
    <message>
        <source>E&amp;mail:</source>
        <translation>Emai&amp;l:</translation>
    </message>
</context>
<context>
    <name>CamposPropiedad</name>
    <message>
        <source>Fecha &amp;Alta:</source>
        <translation>Date &amp;added:</translation>
    </message>
    <message>
        <source>&amp;Precio:</source>
        <translation>&amp;Price:</translation>
    </message>
    <message>
        <source>&amp;Metros:</source>
        <translation>Bui&amp;lt area:</translation>
    </message>
    <message>
        <source>Parcela:</source>
        <translation>Plot size:</translation>
    </message>
    <message>
        <source>&amp;Dormitorios:</source>
        <translation>&amp;Bedrooms:</translation>
    </message>
    <message>
        <source>&amp;Baños:</source>
        <translation>Bat&amp;hrooms:</translation>
    </message>
    <message>
        <source>Aseos:</source>
        <translation>Toilets:</translation>
    </message>
    <message>
        <source>Suelos:</source>
        <translation>Flooring:</translation>
    </message>
    <message>
        <source>Terrazas:</source>
        <translation>Terraces:</translation>
    </message>
    <message>
        <source>Armarios Empotrados:</source>
        <translation>Fitted wardrobes:</translation>
    </message>
    <message>
        <source>Plazas Garaje:</source>
        <translation>Parking spaces:</translation>
    </message>
    <message>
        <source>Antigüedad:</source>
        <translation>Age:</translation>
    </message>
    <message>
        <source>Comunidad:</source>
        <translation>Community fees:</translation>
    </message>
    <message>
        <source>Agente:</source>
        <translation>Agent:</translation>
    </message>
    <message>
        <source>Calificación:</source>
        <translation>Rating:</translation>
    </message>
    <message>
        <source>Hipoteca:</source>
        <translation>Mortgage:</translation>
    </message>
    <message>
        <source>Valor Escriturado:</source>
        <translation>Deeds value:</translation>
    </message>
    <message>
        <source>Año construc.:</source>
        <translation>Year built:</translation>
    </message>
    <message>
        <source>Ob&amp;servs.:</source>
        <translation>Re&amp;marks:</translation>
    </message>
    <message>
        <source>&amp;Propietario:</source>
        <translation>&amp;Owner:</translation>
    </message>
    <message>
        <source>&amp;Dirección:</source>
        <translation>A&amp;ddress:</translation>
    </message>
    <message>
        <source>Planta:</source>
        <translation>Floor:</translation>
    </message>
    <message>
        <source>Puerta:</source>
        <translation>Door:</translation>
    </message>
    <message>
        <source>Nº finca registral:</source>
        <translation>Land registry no.:</translation>
    </message>
    <message>
        <source>Titularidad:</source>
        <translation>Ownership:</translation>
    </message>
    <message>
        <source>Días exclusiva:</source>
        <translation>Sole agency days:</translation>
    </message>
    <message>
        <source>P&amp;recio:</source>
        <translation>Pr&amp;ice:</translation>
    </message>
    <message>
        <source>&amp;Comentarios:</source>
        <translation>&amp;Comments:</translation>
    </message>
    <message>
        <source>Fecha &amp;Inicio:</source>
        <translation>Start dat&amp;e:</translation>
    </message>
    <message>
        <source>Fecha &amp;Fin:</source>
        <translation>E&amp;nd date:</translation>
    </message>
    <message>
        <source>&amp;Observs.:</source>
        <translation>Re&amp;marks:</translation>
    </message>
    <message>
        <source>&amp;Nombre:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>&amp;Localidad:</source>
        <translation>To&amp;wn:</translation>
    </message>
    <message>
        <source>C&amp;P:</source>
        <translation>&amp;Postcode:</translation>
    </message>
    <message>
        <source>Pro&amp;vincia:</source>
        <translation>Pro&amp;vince:</translation>
    </message>
    <message>
        <source>&amp;Teléfono:</source>
        <translation>P&amp;hone:</translation>
    </message>
    <message>
        <source>&amp;Móvil:</source>
        <translation>&amp;Mobile:</translation>
    </message>
    <message>
        <source>F&amp;ax:</source>
        <translation>Fa&amp;x:</translation>
    </message>
    <message>
        <source>Pa&amp;saporte:</source>
        <translation>Passp&amp;ort:</translation>
    </message>
    <message>
        <source>DN&amp;I:</source>
        <translation>DN&amp;I:</translation>
    </message>
    <message>
        <source>NI&amp;E:</source>
        <translation>NI&amp;E:</translation>
    </message>
    <message>
        <source>C&amp;omentarios:</source>
        <translation>&amp;Comments:</translation>
    </message>
    <message>
        <source>&amp;Titulo:</source>
        <translation>T&amp;itle:</translation>
    </message>
    <message>
        <source>&amp;Descripción:</source>
        <translation>&amp;Description:</translation>
    </message>
    <message>
        <source>Titulo:
(Idioma 1)</source>
        <translation>Title:
(Language 1)</translation>
    </message>
    <message>
        <source>Descripción:
(Idioma 1)</source>
        <translation>Description:
(Language 1)</translation>
    </message>
    <message>
        <source>Descripción:
(Inglés)</source>
        <translation>Description:
(English)</translation>
    </message>
    <message>
        <source>Descripción:
(Francés)</source>
        <translation>Description:
(French)</translation>
    </message>
</context>
<context>
    <name>CaracteristicasPropiedad</name>
    <message>
        <source>Cocina Amueblada</source>
        <translation>Fitted kitchen</translation>
    </message>
    <message>
        <source>Cocina Americana</source>
        <translation>Open-plan kitchen</translation>
    </message>
    <message>
        <source>Aire Acondicionado</source>
        <translation>Air conditioning</translation>
    </message>
    <message>
        <source>Calefacción</source>
        <translation>Heating</translation>
    </message>
    <message>
        <source>Visitado</source>
        <translation>Viewed</translation>
    </message>
    <message>
        <source>Salón</source>
        <translation>Living room</translation>
    </message>
    <message>
        <source>Lavadero</source>
        <translation>Utility room</translation>
    </message>
    <message>
        <source>Gas Ciudad</source>
        <translation>Mains gas</translation>
    </message>
    <message>
        <source>Gas Butano</source>
        <translation>Bottled gas</translation>
    </message>
    <message>
        <source>Vitrocerámica</source>
        <translation>Ceramic hob</translation>
    </message>
    <message>
        <source>Ascensor</source>
        <translation>Lift</translation>
    </message>
    <message>
        <source>Trastero</source>
        <translation>Storage room</translation>
    </message>
    <message>
        <source>Vpo</source>
        <translation>VPO</translation>
    </message>
    <message>
        <source>Solarium</source>
        <translation>Solarium</translation>
    </message>
    <message>
        <source>Supermercado cercano</source>
        <translation>Supermarket nearby</translation>
    </message>
    <message>
        <source>Autobús cercano</source>
        <translation>Bus nearby</translation>
    </message>
    <message>
        <source>Cafetería cercana</source>
        <translation>Café nearby</translation>
    </message>
    <message>
        <source>Diversiones cercanas</source>
        <translation>Amenities nearby</translation>
    </message>
    <message>
        <source>Amueblado</source>
        <translation>Furnished</translation>
    </message>
    <message>
        <source>Paneles solares</source>
        <translation>Solar panels</translation>
    </message>
    <message>
        <source>Chimenea</source>
        <translation>Fireplace</translation>
    </message>
</context>
<context>
    <name>Coincidencias</name>
    <message>
        <source>Precio %1 dentro del presupuesto</source>
        <translation>Price %1 within budget</translation>
    </message>
    <message>
        <source>Precio %1, un %2% sobre el presupuesto</source>
        <translation>Price %1, %2% over budget</translation>
    </message>
    <message>
        <source>Zona %1</source>
        <translation>Area %1</translation>
    </message>
    <message>
        <source>Localidad %1</source>
        <translation>Town %1</translation>
    </message>
    <message>
        <source>Tipo %1</source>
        <translation>Type %1</translation>
    </message>
    <message numerus="yes">
        <source>%n dormitorios (mínimo %1)</source>
        <translation>
            <numerusform>%n bedroom (minimum %1)</numerusform>
            <numerusform>%n bedrooms (minimum %1)</numerusform>
        </translation>
    </message>
    <message>
        <source>Piscina</source>
        <translation>Pool</translation>
    </message>
    <message>
        <source>Garaje</source>
        <translation>Garage</translation>
    </message>
    <message>
        <source>Ascensor</source>
        <translation>Lift</translation>
    </message>
    <message>
        <source>Terraza</source>
        <translation>Terrace</translation>
    </message>
</context>
<context>
    <name>ConexionServidor</name>
    <message>
        <source>El puerto del servidor &apos;%1&apos; no es válido.
Corrija la clave Puerto de la sección [Servidor] en el archivo de la instalación [%2] (por ejemplo, Puerto=5432).</source>
        <translation>The server port &apos;%1&apos; is not valid.
Correct the key Puerto in the section [Servidor] of the installation file [%2] (for example, Puerto=5432).</translation>
    </message>
    <message>
        <source>Falta el nombre de la base de datos del servidor.
Escriba la clave BaseDatos en la sección [Servidor] del archivo de la instalación [%1].</source>
        <translation>The server&apos;s database name is missing.
Write the key BaseDatos in the section [Servidor] of the installation file [%1].</translation>
    </message>
    <message>
        <source>Falta el usuario del servidor.
Escriba la clave Usuario en la sección [Servidor] del archivo de la instalación [%1].</source>
        <translation>The server user is missing.
Write the key Usuario in the section [Servidor] of the installation file [%1].</translation>
    </message>
</context>
<context>
    <name>CopiaSeguridad</name>
    <message>
        <source>No se encuentra el programa pg_dump, que copia la base de datos del servidor: instale en este puesto el paquete postgresql-client (de la versión %1 del servidor o posterior).</source>
        <translation>pg_dump, the program that copies the server&apos;s database, cannot be found: install the postgresql-client package on this seat (of the server&apos;s version %1 or later).</translation>
    </message>
    <message>
        <source>El pg_dump de este puesto es de la versión %1 de PostgreSQL y el servidor de la %2: instale en este puesto el cliente de la versión %2 o posterior (paquete postgresql-client-%2).</source>
        <translation>This seat&apos;s pg_dump is from PostgreSQL version %1 and the server is version %2: install the client of version %2 or later on this seat (package postgresql-client-%2).</translation>
    </message>
    <message>
        <source>pg_dump de %1: código %2: %3</source>
        <translation>pg_dump of %1: code %2: %3</translation>
    </message>
    <message>
        <source>copiar la base de datos [%1]</source>
        <translation>copy the database [%1]</translation>
    </message>
    <message>
        <source>pg_dump no ha escrito la copia de la base de datos [%1].</source>
        <translation>pg_dump has not written the backup of the database [%1].</translation>
    </message>
    <message>
        <source>Copia de seguridad de %1 en %2</source>
        <translation>Backup of %1 to %2</translation>
    </message>
</context>
<context>
    <name>CopiaServidor</name>
    <message>
        <source> (código web %1)</source>
        <translation> (web code %1)</translation>
    </message>
    <message>
        <source>La base de datos «%1» del servidor ya tiene datos (tabla %2) sin decir de qué agencia son: no se ha copiado nada.</source>
        <translation>The server&apos;s database &quot;%1&quot; already holds data (table %2) without saying which agency they belong to: nothing has been copied.</translation>
    </message>
    <message>
        <source>La base de datos «%1» del servidor ya guarda los datos de la agencia %2, y esta instalación es de la agencia %3: no se ha copiado nada.</source>
        <translation>The server&apos;s database &quot;%1&quot; already holds the data of the agency %2, and this installation belongs to the agency %3: nothing has been copied.</translation>
    </message>
    <message>
        <source>La base de datos «%1» del servidor ya guarda los datos de la oficina «%2» de la agencia; los de la oficina «%3» no pueden unirse a ellos: no se ha copiado nada.</source>
        <translation>The server&apos;s database &quot;%1&quot; already holds the data of the agency&apos;s office &quot;%2&quot;; those of office &quot;%3&quot; cannot be joined to them: nothing has been copied.</translation>
    </message>
    <message>
        <source>No existe la base de datos de la oficina: %1</source>
        <translation>The office&apos;s database does not exist: %1</translation>
    </message>
    <message>
        <source>La base de datos de la oficina está en la versión %1 y el servidor se crea en la %2: pásela antes a la versión %2 con orbalia-updatedb.</source>
        <translation>The office&apos;s database is at version %1 and the server is created at version %2: bring it to version %2 first with orbalia-updatedb.</translation>
    </message>
    <message>
        <source>Creando las tablas de la agencia en «%1»…</source>
        <translation>Creating the agency&apos;s tables in &quot;%1&quot;…</translation>
    </message>
    <message>
        <source>La base de datos «%1» del servidor no está vacía y no es de Orbalia: no se ha copiado nada.</source>
        <translation>The server&apos;s database &quot;%1&quot; is not empty and is not an Orbalia database: nothing has been copied.</translation>
    </message>
    <message>
        <source>La base de datos «%1» del servidor está en la versión %2 y esta oficina en la %3: no se ha copiado nada.</source>
        <translation>The server&apos;s database &quot;%1&quot; is at version %2 and this office at version %3: nothing has been copied.</translation>
    </message>
    <message>
        <source>La base de datos «%1» del servidor ya tiene datos de esta oficina distintos de los de su archivo (%2): no se ha copiado nada. Para sustituirlos, use --reemplazar.</source>
        <translation>The server&apos;s database &quot;%1&quot; already holds data of this office that differ from those in its file (%2): nothing has been copied. To replace them, use --reemplazar.</translation>
    </message>
    <message>
        <source>Vaciando las tablas del servidor…</source>
        <translation>Emptying the server&apos;s tables…</translation>
    </message>
    <message numerus="yes">
        <source>%1: %n filas</source>
        <translation>
            <numerusform>%1: %n row</numerusform>
            <numerusform>%1: %n rows</numerusform>
        </translation>
    </message>
    <message>
        <source>Comprobando lo copiado…</source>
        <translation>Checking what was copied…</translation>
    </message>
    <message numerus="yes">
        <source>La tabla %1 tiene %n filas en la oficina y %2 en el servidor: la copia se ha deshecho.</source>
        <translation>
            <numerusform>Table %1 has %n row in the office and %2 on the server: the copy has been undone.</numerusform>
            <numerusform>Table %1 has %n rows in the office and %2 on the server: the copy has been undone.</numerusform>
        </translation>
    </message>
    <message>
        <source>Las filas de la tabla %1 no son iguales en la oficina y en el servidor: la copia se ha deshecho.</source>
        <translation>The rows of table %1 are not the same in the office and on the server: the copy has been undone.</translation>
    </message>
</context>
<context>
    <name>DatabaseSession</name>
    <message>
        <source>Falta la contraseña de este puesto: el archivo %1 no existe o no se puede leer.
Vuelva a conectar el puesto con orbalia-install --servidor.</source>
        <translation>This seat&apos;s password is missing: the file %1 does not exist or cannot be read.
Connect the seat again with orbalia-install --servidor.</translation>
    </message>
    <message>
        <source>conectar con el servidor</source>
        <translation>connect to the server</translation>
    </message>
    <message>
        <source>El servidor ha rechazado el usuario %1 o su contraseña.
Compruebe la contraseña del puesto (archivo %2) o pida al administrador que la restablezca.</source>
        <translation>The server refused the user %1 or its password.
Check the seat&apos;s password (file %2) or ask the administrator to reset it.</translation>
    </message>
    <message>
        <source>No se puede conectar con el servidor %1 en el puerto %2.
Compruebe que el servidor está encendido y que este puesto llega a él por la red (claves Servidor y Puerto de la sección [Servidor] en %3).</source>
        <translation>Cannot connect to the server %1 on port %2.
Check that the server is switched on and that this seat reaches it over the network (keys Servidor and Puerto of the section [Servidor] in %3).</translation>
    </message>
    <message>
        <source>El servidor %1 no tiene la base de datos %2.
Compruebe la clave BaseDatos de la sección [Servidor] en %3.</source>
        <translation>The server %1 has no database %2.
Check the key BaseDatos of the section [Servidor] in %3.</translation>
    </message>
    <message>
        <source>Error al abrir la base de datos [%1]
%2</source>
        <translation>Error opening the database [%1]
%2</translation>
    </message>
    <message>
        <source>Entrada en Orbalia</source>
        <translation>Sign in to Orbalia</translation>
    </message>
    <message>
        <source>Base de datos %1 en %2</source>
        <translation>Database %1 on %2</translation>
    </message>
    <message>
        <source>El servidor ha rechazado el agente %1 o su contraseña.</source>
        <translation>The server refused the agent %1 or their password.</translation>
    </message>
    <message>
        <source>No se ha indicado la base de datos.</source>
        <translation>No database was given.</translation>
    </message>
    <message>
        <source>abrir la base de datos</source>
        <translation>open the database</translation>
    </message>
    <message>
        <source>El archivo no es una base de datos de Orbalia o está dañado.</source>
        <translation>The file is not an Orbalia database or it is damaged.</translation>
    </message>
</context>
<context>
    <name>Dossier</name>
    <message>
        <source>leer los datos del dossier</source>
        <translation>read the dossier&apos;s data</translation>
    </message>
    <message>
        <source>No se pueden leer los datos del dossier: error %1 (%2).</source>
        <translation>The dossier&apos;s data cannot be read: error %1 (%2).</translation>
    </message>
    <message>
        <source>Dossier en PDF</source>
        <translation>Dossier as PDF</translation>
    </message>
    <message>
        <source>Dossier guardado en %1.

¿Quiere abrirlo ahora?</source>
        <translation>Dossier saved as %1.

Do you want to open it now?</translation>
    </message>
    <message>
        <source>No se ha podido abrir %1: no hay ningún programa para ver archivos PDF.</source>
        <translation>%1 could not be opened: there is no program to view PDF files.</translation>
    </message>
</context>
<context>
    <name>Duplicados</name>
    <message>
        <source>DNI/NIE/pasaporte</source>
        <translation>DNI/NIE/passport</translation>
    </message>
    <message>
        <source>teléfono</source>
        <translation>phone</translation>
    </message>
    <message>
        <source>e-mail</source>
        <translation>email</translation>
    </message>
    <message>
        <source>nombre</source>
        <translation>name</translation>
    </message>
    <message>
        <source>planta %1</source>
        <translation>floor %1</translation>
    </message>
    <message>
        <source>puerta %1</source>
        <translation>door %1</translation>
    </message>
    <message>
        <source>dirección</source>
        <translation>address</translation>
    </message>
</context>
<context>
    <name>Email</name>
    <message>
        <source>

El documento está guardado en la carpeta %1</source>
        <translation>

The document is saved in the folder %1</translation>
    </message>
</context>
<context>
    <name>ErrorReport</name>
    <message>
        <source>Actualizar o CancelarActualizar sin AgregarNuevo o Modificar</source>
        <translation>Update or CancelUpdate without AddNew or Edit</translation>
    </message>
    <message>
        <source>No hay un registro activo</source>
        <translation>There is no current record</translation>
    </message>
    <message>
        <source>No se realizaron los cambios porque crearían valores duplicados en el índice o la clave principal</source>
        <translation>The changes were not made because they would create duplicate values in the index or primary key</translation>
    </message>
    <message>
        <source>No se puede abrir la base de datos</source>
        <translation>Cannot open the database</translation>
    </message>
    <message>
        <source>La base de datos es de sólo lectura</source>
        <translation>The database is read-only</translation>
    </message>
    <message>
        <source>Error en una instrucción de la base de datos</source>
        <translation>Error in a database statement</translation>
    </message>
    <message>
        <source>El campo es demasiado pequeño para aceptar la cantidad de datos que intentó agregar</source>
        <translation>The field is too small to accept the amount of data you attempted to add</translation>
    </message>
    <message>
        <source>Operación no admitida</source>
        <translation>Operation not supported</translation>
    </message>
    <message>
        <source>Elemento no encontrado en esta colección</source>
        <translation>Item not found in this collection</translation>
    </message>
    <message>
        <source>El campo no puede contener un valor nulo</source>
        <translation>The field cannot contain a null value</translation>
    </message>
    <message>
        <source>El valor no cumple la regla del campo</source>
        <translation>The value does not meet the field&apos;s rule</translation>
    </message>
    <message>
        <source>No coinciden los tipos de datos</source>
        <translation>Data type mismatch</translation>
    </message>
    <message>
        <source>La base de datos está bloqueada por otro proceso</source>
        <translation>The database is locked by another process</translation>
    </message>
    <message>
        <source>No tiene los permisos necesarios para cambiar estos datos</source>
        <translation>You do not have the permissions needed to change this data</translation>
    </message>
    <message>
        <source>Error de la base de datos</source>
        <translation>Database error</translation>
    </message>
    <message>
        <source>El disco está lleno.</source>
        <translation>The disk is full.</translation>
    </message>
    <message>
        <source>El archivo no es una base de datos de Orbalia o está dañado.</source>
        <translation>The file is not an Orbalia database or it is damaged.</translation>
    </message>
    <message>
        <source>No se encuentra el archivo %1.</source>
        <translation>The file %1 cannot be found.</translation>
    </message>
    <message>
        <source>No hay permiso de escritura en la carpeta %1.</source>
        <translation>There is no permission to write in the folder %1.</translation>
    </message>
    <message>
        <source>No se puede abrir el archivo: no hay permiso para leerlo o está en uso.</source>
        <translation>Cannot open the file: there is no permission to read it or it is in use.</translation>
    </message>
    <message>
        <source>No hay permiso de escritura en la base de datos.</source>
        <translation>There is no permission to write in the database.</translation>
    </message>
    <message>
        <source>No se ha podido leer o escribir en el disco.</source>
        <translation>The disk could not be read or written.</translation>
    </message>
    <message>
        <source>Ya existe un registro con los mismos datos.</source>
        <translation>A record with the same data already exists.</translation>
    </message>
    <message>
        <source>Ya existe un registro con el código %1.</source>
        <translation>A record with the reference %1 already exists.</translation>
    </message>
    <message>
        <source>Ya existe un registro con %1 %2.</source>
        <translation>A record with %1 %2 already exists.</translation>
    </message>
    <message>
        <source>El texto de %1 es demasiado largo (como máximo %2 caracteres).</source>
        <translation>The text of %1 is too long (%2 characters at most).</translation>
    </message>
    <message>
        <source>Un texto es más largo de lo que admite su campo.</source>
        <translation>A text is longer than its field allows.</translation>
    </message>
    <message>
        <source>Falta un dato obligatorio.</source>
        <translation>A required value is missing.</translation>
    </message>
    <message>
        <source>Falta un dato obligatorio: %1.</source>
        <translation>A required value is missing: %1.</translation>
    </message>
    <message>
        <source>El registro está relacionado con otros datos.</source>
        <translation>The record is related to other data.</translation>
    </message>
    <message>
        <source>Un dato no cumple las reglas de su campo.</source>
        <translation>A value does not meet its field&apos;s rules.</translation>
    </message>
    <message>
        <source>El registro ya no existe: se ha borrado desde otro puesto.</source>
        <translation>The record no longer exists: it was deleted from another seat.</translation>
    </message>
    <message>
        <source>Otro puesto está usando la base de datos; inténtelo de nuevo dentro de un momento.</source>
        <translation>Another seat is using the database; try again in a moment.</translation>
    </message>
    <message>
        <source>Un dato no es del tipo que espera su campo.</source>
        <translation>A value is not of the type its field expects.</translation>
    </message>
    <message>
        <source>El servidor ha rechazado el usuario o la contraseña de este puesto.</source>
        <translation>The server refused this seat&apos;s user or password.</translation>
    </message>
    <message>
        <source>No se puede conectar con el servidor de la base de datos: compruebe que está encendido y que este puesto llega a él por la red.</source>
        <translation>Cannot connect to the database server: check that it is switched on and that this seat reaches it over the network.</translation>
    </message>
    <message>
        <source>Se ha perdido la conexión con el servidor de la base de datos; no se ha guardado nada de la última operación.</source>
        <translation>The connection to the database server was lost; nothing of the last operation was saved.</translation>
    </message>
    <message>
        <source>El servidor no permite a este agente cambiar estos datos.</source>
        <translation>The server does not allow this agent to change this data.</translation>
    </message>
    <message>
        <source>Error interno; los detalles se han guardado en Orbalia.log.</source>
        <translation>Internal error; the details have been saved in Orbalia.log.</translation>
    </message>
    <message>
        <source>Error %1 (motor %2) al %3: %4</source>
        <translation>Error %1 (engine %2) trying to %3: %4</translation>
    </message>
    <message>
        <source>Se ha producido un error inesperado.</source>
        <translation>An unexpected error has occurred.</translation>
    </message>
    <message>
        <source>Los detalles se han guardado en Orbalia.log.</source>
        <translation>The details have been saved in Orbalia.log.</translation>
    </message>
    <message>
        <source>procesar un evento</source>
        <translation>process an event</translation>
    </message>
    <message>
        <source>Se ha producido el error (%1 - %2).</source>
        <translation>The error (%1 - %2) has occurred.</translation>
    </message>
    <message>
        <source>Excepción no atendida: %1</source>
        <translation>Unhandled exception: %1</translation>
    </message>
    <message>
        <source>Excepción no atendida de tipo desconocido</source>
        <translation>Unhandled exception of unknown type</translation>
    </message>
</context>
<context>
    <name>ExportacionOficina</name>
    <message>
        <source>Exportando tipos...</source>
        <translation>Exporting types...</translation>
    </message>
    <message>
        <source>Se han exportado %1 tipos.</source>
        <translation>Types exported: %1.</translation>
    </message>
    <message>
        <source>Exportando localidades...</source>
        <translation>Exporting towns...</translation>
    </message>
    <message>
        <source>Se han exportado %1 localidades.</source>
        <translation>Towns exported: %1.</translation>
    </message>
    <message>
        <source>Exportando areas ...</source>
        <translation>Exporting areas ...</translation>
    </message>
    <message>
        <source>Se han exportado %1 areas.</source>
        <translation>Areas exported: %1.</translation>
    </message>
    <message>
        <source>Exportando propiedades...</source>
        <translation>Exporting properties...</translation>
    </message>
    <message>
        <source>Se han exportado %1 propiedades.</source>
        <translation>Properties exported: %1.</translation>
    </message>
    <message>
        <source>Exportando propietarios...</source>
        <translation>Exporting owners...</translation>
    </message>
    <message>
        <source>Se han exportado %1 propietarios.</source>
        <translation>Owners exported: %1.</translation>
    </message>
    <message>
        <source>Exportando clientes...</source>
        <translation>Exporting clients...</translation>
    </message>
    <message>
        <source>Se han exportado %1 clientes.</source>
        <translation>Clients exported: %1.</translation>
    </message>
    <message>
        <source>%1 Corrija la clave CodigoOficina de Orbalia.ini.</source>
        <translation>%1 Correct the key CodigoOficina in Orbalia.ini.</translation>
    </message>
    <message>
        <source>La carpeta de intercambio %1 no está dentro de %2.</source>
        <translation>The exchange folder %1 is not inside %2.</translation>
    </message>
    <message>
        <source>Resumen: la exportación no se ha completado y no se ha subido nada.</source>
        <translation>Summary: the export did not complete and nothing has been uploaded.</translation>
    </message>
    <message numerus="yes">
        <source>%n tipos</source>
        <translation>
            <numerusform>%n type</numerusform>
            <numerusform>%n types</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n localidades</source>
        <translation>
            <numerusform>%n town</numerusform>
            <numerusform>%n towns</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n áreas</source>
        <translation>
            <numerusform>%n area</numerusform>
            <numerusform>%n areas</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n propiedades</source>
        <translation>
            <numerusform>%n property</numerusform>
            <numerusform>%n properties</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n propietarios</source>
        <translation>
            <numerusform>%n owner</numerusform>
            <numerusform>%n owners</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n clientes</source>
        <translation>
            <numerusform>%n client</numerusform>
            <numerusform>%n clients</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n fotos</source>
        <translation>
            <numerusform>%n photo</numerusform>
            <numerusform>%n photos</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 y %2</source>
        <translation>%1 and %2</translation>
    </message>
    <message>
        <source>Resumen: exportados %1; subida correcta.</source>
        <translation>Summary: exported %1; upload successful.</translation>
    </message>
    <message>
        <source>Resumen: exportados %1; la subida ha fallado y las demás oficinas no los recibirán hasta que se suban.</source>
        <translation>Summary: exported %1; the upload failed and the other offices will not receive them until they are uploaded.</translation>
    </message>
    <message>
        <source>Iniciando exportación ...</source>
        <translation>Starting export ...</translation>
    </message>
    <message>
        <source>No se exporta: %1 No se ha borrado nada.</source>
        <translation>Not exported: %1 Nothing has been deleted.</translation>
    </message>
    <message>
        <source>Error: no se encuentra la plantilla de intercambio %1.</source>
        <translation>Error: the exchange template %1 cannot be found.</translation>
    </message>
    <message>
        <source>Error: no se puede copiar la plantilla de intercambio en %1.</source>
        <translation>Error: the exchange template cannot be copied to %1.</translation>
    </message>
    <message>
        <source>Error: %1.</source>
        <translation>Error: %1.</translation>
    </message>
    <message>
        <source>exportar la oficina %1 en %2</source>
        <translation>export office %1 to %2</translation>
    </message>
    <message>
        <source>Error: no se ha podido escribir el archivo de intercambio %1. %2</source>
        <translation>Error: the exchange file %1 could not be written. %2</translation>
    </message>
    <message>
        <source>Exportación finalizada.</source>
        <translation>Export finished.</translation>
    </message>
    <message>
        <source>no existe la tabla %1 en la base de datos de la agencia</source>
        <translation>the table %1 does not exist in the agency database</translation>
    </message>
    <message>
        <source>El campo %1 de la tabla %2 no está en la plantilla de intercambio</source>
        <translation>The field %1 of the table %2 is not in the exchange template</translation>
    </message>
    <message>
        <source>Se han exportado %1 visitas.</source>
        <translation>Viewings exported: %1.</translation>
    </message>
    <message>
        <source>- Procesando foto %1</source>
        <translation>- Processing photo %1</translation>
    </message>
    <message>
        <source>Exportación de la oficina: foto %1: %2</source>
        <translation>Office export: photo %1: %2</translation>
    </message>
    <message>
        <source>no hay permiso para leer el archivo %1</source>
        <translation>there is no permission to read the file %1</translation>
    </message>
    <message>
        <source>el archivo %1 no es una imagen que se pueda leer o está dañado</source>
        <translation>the file %1 is not a readable image or is damaged</translation>
    </message>
    <message>
        <source>no se ha podido guardar su copia en %1 (¿disco lleno o sin permiso?)</source>
        <translation>its copy could not be saved in %1 (disk full or no permission?)</translation>
    </message>
    <message>
        <source>No se ha podido procesar la foto %1: %2.</source>
        <translation>The photo %1 could not be processed: %2.</translation>
    </message>
    <message>
        <source>Iniciando subida ...</source>
        <translation>Starting upload ...</translation>
    </message>
    <message>
        <source>La subida ha fallado: %1.</source>
        <translation>The upload failed: %1.</translation>
    </message>
    <message>
        <source>Subida finalizada.</source>
        <translation>Upload finished.</translation>
    </message>
</context>
<context>
    <name>FallosWeb</name>
    <message>
        <source>Una propiedad no se puede publicar</source>
        <translation>A property cannot be published</translation>
    </message>
    <message>
        <source>La propiedad %1 no se puede publicar</source>
        <translation>Property %1 cannot be published</translation>
    </message>
    <message>
        <source>uno de sus datos</source>
        <translation>one of its values</translation>
    </message>
    <message>
        <source>el dato de la columna %1</source>
        <translation>the value of column %1</translation>
    </message>
    <message>
        <source>el dato %1 (columna %2)</source>
        <translation>the value %1 (column %2)</translation>
    </message>
    <message>
        <source>es más largo de lo que admite la tabla %1 del web</source>
        <translation>is longer than the web table %1 allows</translation>
    </message>
    <message>
        <source>es mayor de lo que admite la tabla %1 del web</source>
        <translation>is larger than the web table %1 allows</translation>
    </message>
    <message>
        <source>está vacío y la tabla %1 del web lo exige</source>
        <translation>is empty and the web table %1 requires it</translation>
    </message>
    <message>
        <source>no es del tipo que espera la tabla %1 del web</source>
        <translation>is not of the type the web table %1 expects</translation>
    </message>
    <message>
        <source>El servidor web ha rechazado el usuario «%1» o su contraseña: revíselos en Herramientas &gt; Configuración &gt; Exportación Web &gt; Usuario y Contraseña (WEB / USUARIO, WEB / PASSWORD).</source>
        <translation>The web server refused the user “%1” or its password: check them in Tools &gt; Settings &gt; Web export &gt; User and Password (WEB / USUARIO, WEB / PASSWORD).</translation>
    </message>
    <message>
        <source>No se puede usar la base de datos «%1» del servidor web (Herramientas &gt; Configuración &gt; Exportación Web &gt; BBDD; WEB / BASEDATOS).</source>
        <translation>The database “%1” of the web server cannot be used (Tools &gt; Settings &gt; Web export &gt; Database; WEB / BASEDATOS).</translation>
    </message>
    <message>
        <source>No se puede conectar con el servidor web «%1» (Herramientas &gt; Configuración &gt; Exportación Web &gt; Servidor; WEB / SERVIDOR).</source>
        <translation>Cannot connect to the web server “%1” (Tools &gt; Settings &gt; Web export &gt; Server; WEB / SERVIDOR).</translation>
    </message>
    <message>
        <source>Se ha perdido la conexión con el servidor web.</source>
        <translation>The connection to the web server was lost.</translation>
    </message>
    <message>
        <source>Falta una columna en la tabla %1 del web.</source>
        <translation>A column is missing from the web table %1.</translation>
    </message>
    <message>
        <source>Falta la columna %1 en la tabla %2 del web.</source>
        <translation>Column %1 is missing from the web table %2.</translation>
    </message>
    <message>
        <source>El usuario «%1» no tiene permiso para cambiar la tabla %2 del web.</source>
        <translation>The user “%1” is not allowed to change the web table %2.</translation>
    </message>
    <message>
        <source>Otro programa tiene bloqueada la tabla %1 del web; vuelva a exportar dentro de un momento.</source>
        <translation>Another program has locked the web table %1; export again in a moment.</translation>
    </message>
    <message>
        <source>El servidor web ha devuelto un error; los detalles se han guardado en Orbalia.log.</source>
        <translation>The web server returned an error; the details have been saved in Orbalia.log.</translation>
    </message>
    <message>
        <source>Exportación web: %1</source>
        <translation>Web export: %1</translation>
    </message>
</context>
<context>
    <name>FeedKyero</name>
    <message>
        <source>Número: la propiedad no tiene número.</source>
        <translation>Number: the property has no number.</translation>
    </message>
    <message>
        <source>Número: el identificador %1 pasa de %2 caracteres.</source>
        <translation>Number: the identifier %1 is longer than %2 characters.</translation>
    </message>
    <message>
        <source>Referencia: la propiedad no tiene código.</source>
        <translation>Reference: the property has no reference.</translation>
    </message>
    <message>
        <source>Referencia: el código pasa de %1 caracteres.</source>
        <translation>Reference: the reference is longer than %1 characters.</translation>
    </message>
    <message>
        <source>Precio alquiler: la propiedad no tiene precio.</source>
        <translation>Rental price: the property has no price.</translation>
    </message>
    <message>
        <source>Precio: la propiedad no tiene precio.</source>
        <translation>Price: the property has no price.</translation>
    </message>
    <message>
        <source>Tipo: la propiedad no tiene tipo.</source>
        <translation>Type: the property has no type.</translation>
    </message>
    <message>
        <source>Tipo en portales: el tipo «%1» no tiene tipo en portales.</source>
        <translation>Type on portals: the type “%1” has no type on portals.</translation>
    </message>
    <message>
        <source>Tipo en portales: «%1» no es un tipo que acepten los portales (letras inglesas, espacios y &amp;()/-, al menos 3).</source>
        <translation>Type on portals: “%1” is not a type the portals accept (English letters, spaces and &amp;()/-, at least 3).</translation>
    </message>
    <message>
        <source>Localidad: la propiedad no tiene localidad.</source>
        <translation>Town: the property has no town.</translation>
    </message>
    <message>
        <source>Provincia: la localidad «%1» no tiene provincia.</source>
        <translation>Province: the town “%1” has no province.</translation>
    </message>
    <message>
        <source>Características: la propiedad no tiene ninguna.</source>
        <translation>Features: the property has none.</translation>
    </message>
    <message>
        <source>Fotos: más de %1.</source>
        <translation>Photos: more than %1.</translation>
    </message>
    <message>
        <source>el elemento principal no es root</source>
        <translation>the main element is not root</translation>
    </message>
    <message>
        <source>la propiedad %1 no tiene id</source>
        <translation>property %1 has no id</translation>
    </message>
    <message>
        <source>tiene una declaración de tipo de documento</source>
        <translation>it has a document type declaration</translation>
    </message>
    <message>
        <source>no hay memoria para leerlo</source>
        <translation>there is not enough memory to read it</translation>
    </message>
    <message>
        <source>XML mal formado en la línea %1: %2</source>
        <translation>malformed XML on line %1: %2</translation>
    </message>
    <message>
        <source>error de lectura</source>
        <translation>read error</translation>
    </message>
    <message>
        <source>falta feed_version 3</source>
        <translation>feed_version 3 is missing</translation>
    </message>
</context>
<context>
    <name>Fusion</name>
    <message>
        <source>Nombre</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Dirección</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>Localidad</source>
        <translation>Town</translation>
    </message>
    <message>
        <source>CP</source>
        <translation>Postcode</translation>
    </message>
    <message>
        <source>Provincia</source>
        <translation>Province</translation>
    </message>
    <message>
        <source>Teléfono</source>
        <translation>Phone</translation>
    </message>
    <message>
        <source>Móvil</source>
        <translation>Mobile</translation>
    </message>
    <message>
        <source>Fax</source>
        <translation>Fax</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>Email</translation>
    </message>
    <message>
        <source>DNI</source>
        <translation>DNI</translation>
    </message>
    <message>
        <source>Pasaporte</source>
        <translation>Passport</translation>
    </message>
    <message>
        <source>NIE</source>
        <translation>NIE</translation>
    </message>
    <message>
        <source>Estado</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Presupuesto</source>
        <translation>Budget</translation>
    </message>
    <message>
        <source>Presupuesto mínimo</source>
        <translation>Minimum budget</translation>
    </message>
    <message>
        <source>Tipo</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Agente</source>
        <translation>Agent</translation>
    </message>
    <message>
        <source>Requiere</source>
        <translation>Requirements</translation>
    </message>
    <message>
        <source>No existe uno de los registros a fusionar</source>
        <translation>One of the records to merge does not exist</translation>
    </message>
    <message>
        <source>Uno de los registros no pertenece a esta oficina</source>
        <translation>One of the records does not belong to this office</translation>
    </message>
    <message>
        <source>fusionar los registros</source>
        <translation>merge the records</translation>
    </message>
    <message>
        <source>Ha elegido el mismo registro: no hay nada que fusionar.</source>
        <translation>You have chosen the same record: there is nothing to merge.</translation>
    </message>
    <message>
        <source>No se han podido fusionar los registros.</source>
        <translation>The records could not be merged.</translation>
    </message>
</context>
<context>
    <name>Herramienta</name>
    <message>
        <source>Muestra esta ayuda.</source>
        <translation>Shows this help.</translation>
    </message>
    <message>
        <source>Muestra la versión del programa.</source>
        <translation>Shows the program&apos;s version.</translation>
    </message>
    <message>
        <source>Error: opción desconocida: %1</source>
        <translation>Error: unknown option: %1</translation>
    </message>
    <message>
        <source>Error: falta el valor de la opción %1</source>
        <translation>Error: the option %1 is missing its value</translation>
    </message>
    <message>
        <source>Error: opciones no válidas: %1</source>
        <translation>Error: invalid options: %1</translation>
    </message>
    <message>
        <source>Para ver las opciones: %1 --help</source>
        <translation>To see the options: %1 --help</translation>
    </message>
    <message>
        <source>Uso: </source>
        <translation>Usage: </translation>
    </message>
    <message>
        <source>[opciones]</source>
        <translation>[options]</translation>
    </message>
    <message>
        <source>
Opciones:
</source>
        <translation>
Options:
</translation>
    </message>
    <message>
        <source>
Argumentos:
</source>
        <translation>
Arguments:
</translation>
    </message>
    <message>
        <source>ejecutar la herramienta</source>
        <translation>run the tool</translation>
    </message>
    <message>
        <source>Error del servidor MySQL: %1</source>
        <translation>MySQL server error: %1</translation>
    </message>
    <message>
        <source>El servidor MySQL ha devuelto un error.</source>
        <translation>The MySQL server returned an error.</translation>
    </message>
    <message>
        <source>Sin memoria</source>
        <translation>Out of memory</translation>
    </message>
    <message>
        <source>No hay memoria suficiente.</source>
        <translation>There is not enough memory.</translation>
    </message>
    <message>
        <source>Error del sistema: %1</source>
        <translation>System error: %1</translation>
    </message>
    <message>
        <source>El disco está lleno.</source>
        <translation>The disk is full.</translation>
    </message>
    <message>
        <source>No se ha podido leer o escribir en el disco.</source>
        <translation>The disk could not be read or written.</translation>
    </message>
    <message>
        <source>Error: %1</source>
        <translation>Error: %1</translation>
    </message>
    <message>
        <source>Excepción no atendida: %1</source>
        <translation>Unhandled exception: %1</translation>
    </message>
    <message>
        <source>Excepción no atendida de tipo desconocido</source>
        <translation>Unhandled exception of unknown type</translation>
    </message>
    <message>
        <source>Error interno.</source>
        <translation>Internal error.</translation>
    </message>
    <message>
        <source> Los detalles se han guardado en %1.</source>
        <translation> The details have been saved in %1.</translation>
    </message>
    <message>
        <source>No existe la carpeta de la instalación: %1</source>
        <translation>The installation folder does not exist: %1</translation>
    </message>
    <message>
        <source>Error al abrir la base de datos [%1]: %2</source>
        <translation>Error opening the database [%1]: %2</translation>
    </message>
    <message>
        <source>abrir la base de datos</source>
        <translation>open the database</translation>
    </message>
    <message>
        <source>El archivo no es una base de datos de Orbalia o está dañado.</source>
        <translation>The file is not an Orbalia database or it is damaged.</translation>
    </message>
    <message>
        <source>La base de datos es de una versión anterior: abra el programa para actualizarla.</source>
        <translation>The database is from an earlier version: open the program to upgrade it.</translation>
    </message>
</context>
<context>
    <name>Identidad</name>
    <message>
        <source>no es un DNI válido: la letra no corresponde al número.</source>
        <translation>is not a valid DNI: the letter does not match the number.</translation>
    </message>
    <message>
        <source>no es un NIE válido: la letra no corresponde al número.</source>
        <translation>is not a valid NIE: the letter does not match the number.</translation>
    </message>
    <message>
        <source>no es un CIF válido: el carácter de control no corresponde.</source>
        <translation>is not a valid CIF: the check character does not match.</translation>
    </message>
    <message>
        <source>no es un DNI (8 cifras y letra), NIE (X, Y o Z, 7 cifras y letra) ni CIF (letra, 7 cifras y control). Un pasaporte va en su casilla.</source>
        <translation>is not a DNI (8 digits and a letter), NIE (X, Y or Z, 7 digits and a letter) or CIF (a letter, 7 digits and a check character). A passport goes in its own box.</translation>
    </message>
    <message>
        <source>no es un número de pasaporte válido (sólo letras y cifras).</source>
        <translation>is not a valid passport number (letters and digits only).</translation>
    </message>
</context>
<context>
    <name>ImportacionOficina</name>
    <message>
        <source>no se encuentra %1</source>
        <translation>%1 cannot be found</translation>
    </message>
    <message>
        <source>%1 está vacío</source>
        <translation>%1 is empty</translation>
    </message>
    <message>
        <source>no es una base de datos de intercambio: falta la tabla %1</source>
        <translation>it is not an exchange database: the table %1 is missing</translation>
    </message>
    <message>
        <source>el campo %1 de la tabla %2 no existe en esta base de datos</source>
        <translation>the field %1 of the table %2 does not exist in this database</translation>
    </message>
    <message>
        <source>no es una base de datos de intercambio: la tabla %1 no tiene el campo %2</source>
        <translation>it is not an exchange database: the table %1 has no field %2</translation>
    </message>
    <message>
        <source>Archivo de intercambio %1 dañado: %2</source>
        <translation>Exchange file %1 damaged: %2</translation>
    </message>
    <message>
        <source>no se puede leer %1 (el archivo no es una base de datos de Orbalia o está dañado)</source>
        <translation>%1 cannot be read (the file is not an Orbalia database or is damaged)</translation>
    </message>
    <message>
        <source>comprobar el archivo de intercambio %1</source>
        <translation>check the exchange file %1</translation>
    </message>
    <message>
        <source>no se puede leer %1 (%2)</source>
        <translation>%1 cannot be read (%2)</translation>
    </message>
    <message>
        <source>el archivo no dice qué oficina lo ha exportado (lo ha hecho una versión anterior del programa); exporte de nuevo en esa oficina</source>
        <translation>the file does not say which office exported it (an earlier version of the program did); export again at that office</translation>
    </message>
    <message>
        <source>el archivo es la plantilla de intercambio vacía, no una exportación de la oficina</source>
        <translation>the file is the empty exchange template, not an export of the office</translation>
    </message>
    <message>
        <source>el archivo tiene más de un registro de exportación</source>
        <translation>the file has more than one export record</translation>
    </message>
    <message>
        <source>el archivo lo ha exportado la oficina %1, no la %2</source>
        <translation>the file was exported by office %1, not by %2</translation>
    </message>
    <message>
        <source>la fecha de exportación del archivo no es válida</source>
        <translation>the export date of the file is not valid</translation>
    </message>
    <message>
        <source>el archivo está incompleto: dice tener %1 %2 y tiene %3</source>
        <translation>the file is incomplete: it says it holds %1 %2 and it holds %3</translation>
    </message>
    <message>
        <source>la oficina principal ha exportado vacío el catálogo de %1; se conservan los catálogos de esta oficina</source>
        <translation>the main office exported the catalogue of %1 empty; this office keeps its catalogues</translation>
    </message>
    <message>
        <source>Importando tipo %1</source>
        <translation>Importing type %1</translation>
    </message>
    <message>
        <source>Se han importado %1 tipos.</source>
        <translation>Types imported: %1.</translation>
    </message>
    <message>
        <source>Importando localidad %1</source>
        <translation>Importing town %1</translation>
    </message>
    <message>
        <source>Se han importado %1 localidades.</source>
        <translation>Towns imported: %1.</translation>
    </message>
    <message>
        <source>Importando area %1</source>
        <translation>Importing area %1</translation>
    </message>
    <message>
        <source>Se han importado %1 areas.</source>
        <translation>Areas imported: %1.</translation>
    </message>
    <message>
        <source>Importando propiedad %1</source>
        <translation>Importing property %1</translation>
    </message>
    <message>
        <source>Se han importado %1 propiedades.</source>
        <translation>Properties imported: %1.</translation>
    </message>
    <message>
        <source>Importando propietario %1</source>
        <translation>Importing owner %1</translation>
    </message>
    <message>
        <source>Se han importado %1 propietarios.</source>
        <translation>Owners imported: %1.</translation>
    </message>
    <message>
        <source>Importando cliente %1</source>
        <translation>Importing client %1</translation>
    </message>
    <message>
        <source>Se han importado %1 clientes.</source>
        <translation>Clients imported: %1.</translation>
    </message>
    <message numerus="yes">
        <source>%n registros de %1 no importados.</source>
        <translation>
            <numerusform>%n record of %1 not imported.</numerusform>
            <numerusform>%n records of %1 not imported.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 Corrija la clave RedAgencias de Orbalia.ini.</source>
        <translation>%1 Correct the key RedAgencias in Orbalia.ini.</translation>
    </message>
    <message>
        <source>La carpeta %1 no está dentro de %2.</source>
        <translation>The folder %1 is not inside %2.</translation>
    </message>
    <message>
        <source>leer las oficinas del servidor</source>
        <translation>read the offices of the server</translation>
    </message>
    <message>
        <source>Error: %1</source>
        <translation>Error: %1</translation>
    </message>
    <message>
        <source>No se ha importado nada.</source>
        <translation>Nothing has been imported.</translation>
    </message>
    <message>
        <source>La oficina %1 trabaja en este mismo servidor: sus datos ya están aquí y no se importan.</source>
        <translation>Office %1 works on this same server: its data are already here and are not imported.</translation>
    </message>
    <message>
        <source>No se importa la oficina %1. %2 No se ha borrado nada.</source>
        <translation>Office %1 is not imported. %2 Nothing has been deleted.</translation>
    </message>
    <message>
        <source>Iniciando bajada ...</source>
        <translation>Starting download ...</translation>
    </message>
    <message>
        <source>No se baja la oficina %1. %2</source>
        <translation>Office %1 is not downloaded. %2</translation>
    </message>
    <message>
        <source>La bajada ha fallado: %1.</source>
        <translation>The download failed: %1.</translation>
    </message>
    <message>
        <source>Bajada finalizada.</source>
        <translation>Download finished.</translation>
    </message>
    <message>
        <source>Iniciando importación ...</source>
        <translation>Starting import ...</translation>
    </message>
    <message>
        <source>No se importa la oficina %1. %2</source>
        <translation>Office %1 is not imported. %2</translation>
    </message>
    <message>
        <source>No se importa la oficina %1: %2.</source>
        <translation>Office %1 is not imported: %2.</translation>
    </message>
    <message>
        <source>No se importa la oficina %1: su archivo es del %2 y ya se importó uno más reciente, del %3.</source>
        <translation>Office %1 is not imported: its file is from %2 and a more recent one, from %3, has already been imported.</translation>
    </message>
    <message>
        <source>importar la oficina %1 desde %2</source>
        <translation>import office %1 from %2</translation>
    </message>
    <message>
        <source>No se ha importado nada de la oficina %1; sus datos no han cambiado.</source>
        <translation>Nothing of office %1 has been imported; its data have not changed.</translation>
    </message>
    <message>
        <source>Importación finalizada.</source>
        <translation>Import finished.</translation>
    </message>
    <message>
        <source>No se importa el registro %1 de %2: el campo %3 tiene «%4», que no es un número.</source>
        <translation>Record %1 of %2 is not imported: the field %3 holds “%4”, which is not a number.</translation>
    </message>
    <message>
        <source>Se han importado %1 visitas.</source>
        <translation>Viewings imported: %1.</translation>
    </message>
    <message>
        <source>No se ha podido copiar la foto %1.</source>
        <translation>The photo %1 could not be copied.</translation>
    </message>
</context>
<context>
    <name>Informes</name>
    <message>
        <source>leer los datos del informe</source>
        <translation>read the report&apos;s data</translation>
    </message>
    <message>
        <source>No se pueden leer los datos del informe: error %1 (%2).</source>
        <translation>The report&apos;s data cannot be read: error %1 (%2).</translation>
    </message>
    <message>
        <source>Ficha de Propiedad</source>
        <translation>Property record sheet</translation>
    </message>
    <message>
        <source>Ficha de Propietario</source>
        <translation>Owner record sheet</translation>
    </message>
    <message>
        <source>Ficha de Cliente</source>
        <translation>Client record sheet</translation>
    </message>
    <message>
        <source>Listado de Propiedades</source>
        <translation>Listing report of properties</translation>
    </message>
    <message>
        <source>Listado de Propietarios de Alquileres</source>
        <translation>Listing report of rental owners</translation>
    </message>
    <message>
        <source>Listado de Propietarios de Ventas</source>
        <translation>Listing report of sales owners</translation>
    </message>
    <message>
        <source>Listado de Clientes de Alquileres</source>
        <translation>Listing report of rental clients</translation>
    </message>
    <message>
        <source>Listado de Clientes de Ventas</source>
        <translation>Listing report of sales clients</translation>
    </message>
    <message>
        <source>Listado de Clientes</source>
        <translation>Listing report of clients</translation>
    </message>
    <message>
        <source>Código</source>
        <translation>Ref.</translation>
    </message>
    <message>
        <source>Nombre</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Teléfono</source>
        <translation>Phone</translation>
    </message>
    <message>
        <source>Móvil</source>
        <translation>Mobile</translation>
    </message>
    <message>
        <source>Datos</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>Código:</source>
        <translation>Reference:</translation>
    </message>
    <message>
        <source>Fecha Alta:</source>
        <translation>Date added:</translation>
    </message>
    <message>
        <source>Nombre:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Dirección:</source>
        <translation>Address:</translation>
    </message>
    <message>
        <source>Localidad:</source>
        <translation>Town:</translation>
    </message>
    <message>
        <source>Provincia:</source>
        <translation>Province:</translation>
    </message>
    <message>
        <source>CP:</source>
        <translation>Postcode:</translation>
    </message>
    <message>
        <source>Teléfono:</source>
        <translation>Phone:</translation>
    </message>
    <message>
        <source>Móvil:</source>
        <translation>Mobile:</translation>
    </message>
    <message>
        <source>Fax:</source>
        <translation>Fax:</translation>
    </message>
    <message>
        <source>Presupuesto:</source>
        <translation>Budget:</translation>
    </message>
    <message>
        <source>Requiere:</source>
        <translation>Requires:</translation>
    </message>
    <message>
        <source>Comentarios:</source>
        <translation>Comments:</translation>
    </message>
    <message>
        <source>Datos del Propietario</source>
        <translation>Owner details</translation>
    </message>
    <message>
        <source>Alta:</source>
        <translation>Added:</translation>
    </message>
    <message>
        <source>Precio:</source>
        <translation>Price:</translation>
    </message>
    <message>
        <source>Datos del Inmueble</source>
        <translation>Property details</translation>
    </message>
    <message>
        <source>Tipo:</source>
        <translation>Type:</translation>
    </message>
    <message>
        <source>Estado:</source>
        <translation>Status:</translation>
    </message>
    <message>
        <source>Agente:</source>
        <translation>Agent:</translation>
    </message>
    <message>
        <source>Area:</source>
        <translation>Area:</translation>
    </message>
    <message>
        <source>Metros:</source>
        <translation>Built area:</translation>
    </message>
    <message>
        <source>Parcela:</source>
        <translation>Plot size:</translation>
    </message>
    <message>
        <source>Dormitorios:</source>
        <translation>Bedrooms:</translation>
    </message>
    <message>
        <source>Baños:</source>
        <translation>Bathrooms:</translation>
    </message>
    <message>
        <source>Aseos:</source>
        <translation>Toilets:</translation>
    </message>
    <message>
        <source>Suelos:</source>
        <translation>Flooring:</translation>
    </message>
    <message>
        <source>Planta:</source>
        <translation>Floor:</translation>
    </message>
    <message>
        <source>Puerta:</source>
        <translation>Door:</translation>
    </message>
    <message>
        <source>Terrazas:</source>
        <translation>Terraces:</translation>
    </message>
    <message>
        <source>Orient.:</source>
        <translation>Facing:</translation>
    </message>
    <message>
        <source>Armarios Empotrados:</source>
        <translation>Built-in wardrobes:</translation>
    </message>
    <message>
        <source>Plazas Garaje:</source>
        <translation>Parking spaces:</translation>
    </message>
    <message>
        <source>Antigüedad:</source>
        <translation>Age:</translation>
    </message>
    <message>
        <source>Año constr.:</source>
        <translation>Year built:</translation>
    </message>
    <message>
        <source>Comunidad:</source>
        <translation>Community fees:</translation>
    </message>
    <message>
        <source>Hipoteca:</source>
        <translation>Mortgage:</translation>
    </message>
    <message>
        <source>Valor Escriturado:</source>
        <translation>Deeds value:</translation>
    </message>
    <message>
        <source>Calificación:</source>
        <translation>Rating:</translation>
    </message>
    <message>
        <source>Piscina:</source>
        <translation>Pool:</translation>
    </message>
    <message>
        <source>Jardin:</source>
        <translation>Garden:</translation>
    </message>
    <message>
        <source>Garaje:</source>
        <translation>Garage:</translation>
    </message>
    <message>
        <source>Visitado</source>
        <translation>Viewed</translation>
    </message>
    <message>
        <source>Cocina Amueblada</source>
        <translation>Fitted kitchen</translation>
    </message>
    <message>
        <source>Aire Acondicionado</source>
        <translation>Air conditioning</translation>
    </message>
    <message>
        <source>Cocina Americana</source>
        <translation>Open-plan kitchen</translation>
    </message>
    <message>
        <source>Calefacción</source>
        <translation>Heating</translation>
    </message>
    <message>
        <source>Trastero</source>
        <translation>Storage room</translation>
    </message>
    <message>
        <source>Lavadero</source>
        <translation>Utility room</translation>
    </message>
    <message>
        <source>Ascensor</source>
        <translation>Lift</translation>
    </message>
    <message>
        <source>Salon</source>
        <translation>Living room</translation>
    </message>
    <message>
        <source>Vitrocerámica</source>
        <translation>Ceramic hob</translation>
    </message>
    <message>
        <source>Gas Ciudad</source>
        <translation>Mains gas</translation>
    </message>
    <message>
        <source>Gas Butano</source>
        <translation>Butane gas</translation>
    </message>
    <message>
        <source>Amueblado</source>
        <translation>Furnished</translation>
    </message>
    <message>
        <source>Observaciones:</source>
        <translation>Remarks:</translation>
    </message>
    <message>
        <source>Hoja de visita</source>
        <translation>Viewing sheet</translation>
    </message>
    <message>
        <source>Cliente:</source>
        <translation>Client:</translation>
    </message>
    <message>
        <source>DNI/NIE:</source>
        <translation>ID/NIE:</translation>
    </message>
    <message>
        <source>Fecha:</source>
        <translation>Date:</translation>
    </message>
    <message>
        <source>Propiedades visitadas</source>
        <translation>Properties viewed</translation>
    </message>
    <message>
        <source>Referencia:</source>
        <translation>Reference:</translation>
    </message>
    <message>
        <source>Hora:</source>
        <translation>Time:</translation>
    </message>
    <message>
        <source>Firma del cliente</source>
        <translation>Client&apos;s signature</translation>
    </message>
    <message>
        <source>Por la agencia</source>
        <translation>For the agency</translation>
    </message>
    <message>
        <source>Informe al propietario</source>
        <translation>Owner&apos;s report</translation>
    </message>
    <message>
        <source>Propietario:</source>
        <translation>Owner:</translation>
    </message>
    <message>
        <source>Propiedad:</source>
        <translation>Property:</translation>
    </message>
    <message>
        <source>Periodo:</source>
        <translation>Period:</translation>
    </message>
    <message>
        <source>Resumen</source>
        <translation>Summary</translation>
    </message>
    <message>
        <source>Fecha</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Hora</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Estado</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Opinión</source>
        <translation>Opinion</translation>
    </message>
    <message>
        <source>Oferta</source>
        <translation>Offer</translation>
    </message>
    <message>
        <source>Listado de Localidades/Areas</source>
        <translation>Listing report of towns/areas</translation>
    </message>
    <message>
        <source>Localidad</source>
        <translation>Town</translation>
    </message>
    <message>
        <source>Area</source>
        <translation>Area</translation>
    </message>
    <message>
        <source>Dirección</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>Dor.</source>
        <translation>Beds</translation>
    </message>
    <message>
        <source>Precio</source>
        <translation>Price</translation>
    </message>
    <message>
        <source>Tipo</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>M2</source>
        <translation>m²</translation>
    </message>
    <message>
        <source>Listado de Propietarios</source>
        <translation>Listing report of owners</translation>
    </message>
    <message>
        <source>Listado de Tipos</source>
        <translation>Listing report of types</translation>
    </message>
    <message>
        <source>Cod</source>
        <translation>Ref.</translation>
    </message>
    <message>
        <source>Tipo (Idioma 1)</source>
        <translation>Type (language 1)</translation>
    </message>
    <message>
        <source>Tipo (Idioma 2)</source>
        <translation>Type (language 2)</translation>
    </message>
</context>
<context>
    <name>Installation</name>
    <message>
        <source>Falta el código de esta oficina.</source>
        <translation>This office&apos;s code is missing.</translation>
    </message>
    <message>
        <source>El código de oficina &quot;%1&quot;%2 tiene %3 caracteres y el campo Agencia admite %4 como máximo.</source>
        <translation>The office code &quot;%1&quot;%2 has %3 characters and the field Agencia allows %4 at most.</translation>
    </message>
    <message>
        <source>El código de oficina &quot;%1&quot;%2 solo puede tener letras y cifras.</source>
        <translation>The office code &quot;%1&quot;%2 can only have letters and digits.</translation>
    </message>
    <message>
        <source> de la lista RedAgencias</source>
        <translation> in the list RedAgencias</translation>
    </message>
    <message>
        <source>No se encuentra el archivo de la instalación [%1].
Créelo con orbalia-install, o escriba en él la sección [Instalacion] con la clave CodigoOficina (el código de esta oficina).</source>
        <translation>The installation file [%1] cannot be found.
Create it with orbalia-install, or write in it the section [Instalacion] with the key CodigoOficina (this office&apos;s code).</translation>
    </message>
    <message>
        <source>No se puede leer el archivo de la instalación [%1].
Compruebe que es un archivo de texto que el programa puede leer, con la clave CodigoOficina en la sección [Instalacion].</source>
        <translation>The installation file [%1] cannot be read.
Check that it is a text file the program can read, with the key CodigoOficina in the section [Instalacion].</translation>
    </message>
    <message>
        <source>%1
Corrija la clave CodigoOficina de la sección [Instalacion] en el archivo de la instalación [%2] (por ejemplo, CodigoOficina=01).</source>
        <translation>%1
Correct the key CodigoOficina of the section [Instalacion] in the installation file [%2] (for example, CodigoOficina=01).</translation>
    </message>
    <message>
        <source>%1
Corrija la clave RedAgencias de la sección [Instalacion] en el archivo de la instalación [%2]: los códigos de las oficinas separados por comas, el de la principal primero (por ejemplo, RedAgencias=01,02).</source>
        <translation>%1
Correct the key RedAgencias of the section [Instalacion] in the installation file [%2]: the offices&apos; codes separated by commas, the main office&apos;s first (for example, RedAgencias=01,02).</translation>
    </message>
    <message>
        <source>Falta el nombre de la agencia.</source>
        <translation>The agency&apos;s name is missing.</translation>
    </message>
</context>
<context>
    <name>Installer</name>
    <message>
        <source>No se puede crear la carpeta &apos;%1&apos;</source>
        <translation>Cannot create the folder &apos;%1&apos;</translation>
    </message>
    <message>
        <source>No se puede sustituir el archivo &apos;%1&apos;</source>
        <translation>Cannot replace the file &apos;%1&apos;</translation>
    </message>
    <message>
        <source>No se puede guardar la imagen &apos;%1&apos;</source>
        <translation>Cannot save the picture &apos;%1&apos;</translation>
    </message>
    <message>
        <source>No se puede leer la imagen &apos;%1&apos;: %2</source>
        <translation>Cannot read the picture &apos;%1&apos;: %2</translation>
    </message>
    <message>
        <source>No se puede escribir el archivo &apos;%1&apos;</source>
        <translation>Cannot write the file &apos;%1&apos;</translation>
    </message>
    <message>
        <source>No se ha indicado la carpeta de la instalación</source>
        <translation>No installation folder has been given</translation>
    </message>
    <message>
        <source>No se puede escribir &apos;%1&apos;</source>
        <translation>Cannot write &apos;%1&apos;</translation>
    </message>
    <message>
        <source>crear las bases de datos</source>
        <translation>create the databases</translation>
    </message>
    <message>
        <source>No se han podido crear las bases de datos en %1: %2</source>
        <translation>The databases could not be created in %1: %2</translation>
    </message>
    <message>
        <source>No se encuentra el modelo de dossier &apos;%1&apos;</source>
        <translation>The dossier model &apos;%1&apos; cannot be found</translation>
    </message>
    <message>
        <source>La carpeta &apos;%1&apos; ya existe y no está vacía</source>
        <translation>The folder &apos;%1&apos; already exists and is not empty</translation>
    </message>
</context>
<context>
    <name>Intercambio</name>
    <message>
        <source>tipos</source>
        <translation>types</translation>
    </message>
    <message>
        <source>localidades</source>
        <translation>towns</translation>
    </message>
    <message>
        <source>areas</source>
        <translation>areas</translation>
    </message>
    <message>
        <source>propiedades</source>
        <translation>properties</translation>
    </message>
    <message>
        <source>propietarios</source>
        <translation>owners</translation>
    </message>
    <message>
        <source>clientes</source>
        <translation>clients</translation>
    </message>
    <message>
        <source>agentes</source>
        <translation>agents</translation>
    </message>
    <message>
        <source>visitas</source>
        <translation>viewings</translation>
    </message>
    <message>
        <source>Intercambio (%1): %2</source>
        <translation>Exchange (%1): %2</translation>
    </message>
    <message>
        <source>Intercambio: &quot;%1&quot; &quot;%2&quot; &quot;%3&quot; ha fallado: %4</source>
        <translation>Exchange: &quot;%1&quot; &quot;%2&quot; &quot;%3&quot; failed: %4</translation>
    </message>
    <message>
        <source>se ha cancelado</source>
        <translation>it was cancelled</translation>
    </message>
    <message>
        <source>no se encuentra el script de intercambio %1</source>
        <translation>the exchange script %1 cannot be found</translation>
    </message>
    <message>
        <source>no se ha podido ejecutar el script de intercambio %1</source>
        <translation>the exchange script %1 could not be run</translation>
    </message>
    <message>
        <source>falta el archivo de contraseña %1</source>
        <translation>the password file %1 is missing</translation>
    </message>
    <message>
        <source>el script de intercambio %1 no acepta sus datos (origen o destino)</source>
        <translation>the exchange script %1 does not accept its data (source or destination)</translation>
    </message>
    <message>
        <source>el servidor de intercambio ha rechazado el usuario o la contraseña, o no tiene la carpeta de ese usuario (Herramientas &gt; Configuración &gt; Sincronización &gt; Usuario y Contraseña; SINC / FTPUSUARIO)</source>
        <translation>the exchange server refused the user or the password, or has no folder for that user (Tools &gt; Settings &gt; Synchronisation &gt; User and Password; SINC / FTPUSUARIO)</translation>
    </message>
    <message>
        <source>no se puede conectar con el servidor de intercambio</source>
        <translation>cannot connect to the exchange server</translation>
    </message>
    <message>
        <source>no se han podido leer o escribir los archivos de la carpeta de intercambio</source>
        <translation>the files of the exchange folder could not be read or written</translation>
    </message>
    <message>
        <source>se ha cortado la comunicación con el servidor de intercambio</source>
        <translation>the connection with the exchange server was cut off</translation>
    </message>
    <message>
        <source>no se han podido copiar todos los archivos</source>
        <translation>not all the files could be copied</translation>
    </message>
    <message>
        <source>el servidor de intercambio no responde</source>
        <translation>the exchange server does not respond</translation>
    </message>
    <message>
        <source>no se encuentra el programa rsync</source>
        <translation>the rsync program cannot be found</translation>
    </message>
    <message>
        <source>el script de intercambio ha terminado con el código %1</source>
        <translation>the exchange script ended with code %1</translation>
    </message>
</context>
<context>
    <name>IntercambioServidor</name>
    <message>
        <source>La base de datos no está en un servidor</source>
        <translation>The database is not on a server</translation>
    </message>
    <message>
        <source>No se importa el registro %1 de %2: el campo %3 tiene «%4», que no es un número.</source>
        <translation>Record %1 of %2 is not imported: the field %3 holds “%4”, which is not a number.</translation>
    </message>
</context>
<context>
    <name>ListaAgentes</name>
    <message>
        <source>Lista de agentes (Alt+Abajo)</source>
        <translation>List of agents (Alt+Down)</translation>
    </message>
</context>
<context>
    <name>Lookups</name>
    <message>
        <source>Clientes de Ventas</source>
        <translation>Sales clients</translation>
    </message>
    <message>
        <source>Clientes de Alquileres</source>
        <translation>Rental clients</translation>
    </message>
    <message>
        <source>Localidades</source>
        <translation>Towns</translation>
    </message>
    <message>
        <source>abrir la lista de %1</source>
        <translation>open the list of %1</translation>
    </message>
    <message>
        <source>No se ha podido abrir la lista de %1.</source>
        <translation>Could not open the list of %1.</translation>
    </message>
</context>
<context>
    <name>MensajeError</name>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>NombresCopias</name>
    <message>
        <source>El número de copias que se conservan, «%1», no es válido.
Corrija la clave Conservar de la sección [Copias] en el archivo de la instalación [%2]: un número de copias de 1 a %3 (por ejemplo, Conservar=%4).</source>
        <translation>The number of backups kept, &quot;%1&quot;, is not valid.
Correct the key Conservar of the section [Copias] in the installation&apos;s file [%2]: a number of backups from 1 to %3 (for example, Conservar=%4).</translation>
    </message>
</context>
<context>
    <name>OfficeRules</name>
    <message>
        <source>Esta información sólo puede manipularse en la oficina principal</source>
        <translation>This information can only be changed at the main office</translation>
    </message>
    <message>
        <source>No puede manipularse esta información porque no pertenece a esta oficina</source>
        <translation>This information cannot be changed because it does not belong to this office</translation>
    </message>
</context>
<context>
    <name>OrdenServidor</name>
    <message>
        <source>Contraseña de %1 en %2: </source>
        <translation>Password for %1 on %2: </translation>
    </message>
    <message>
        <source>El servidor %1 no acepta al usuario «%2» con esa contraseña.</source>
        <translation>Server %1 does not accept the user &quot;%2&quot; with that password.</translation>
    </message>
    <message>
        <source>No se puede conectar con el servidor %1 en el puerto %2: compruebe que está en marcha y que el nombre y el puerto son los suyos.</source>
        <translation>Cannot connect to server %1 on port %2: check that it is running and that the name and the port are the right ones.</translation>
    </message>
    <message>
        <source>El servidor %1 no tiene la base de datos «%2»: el administrador del servidor debe crearla (vacía) antes de copiar la oficina.</source>
        <translation>Server %1 has no database &quot;%2&quot;: the server&apos;s administrator must create it (empty) before the office is copied.</translation>
    </message>
    <message>
        <source>Se ha perdido la conexión con el servidor %1: no se ha copiado nada.</source>
        <translation>The connection with server %1 has been lost: nothing has been copied.</translation>
    </message>
    <message>
        <source>El servidor no admite el valor «%1» del campo %2 de la tabla %3 (fila %4 enviada): corríjalo en la oficina. No se ha copiado nada.</source>
        <translation>The server does not accept the value &quot;%1&quot; of the field %2 of table %3 (row %4 sent): correct it in the office. Nothing has been copied.</translation>
    </message>
    <message>
        <source>El servidor no admite un dato de la oficina: no se ha copiado nada.</source>
        <translation>The server does not accept a value of the office: nothing has been copied.</translation>
    </message>
    <message>
        <source>Otro puesto está usando la base de datos del servidor: no se ha copiado nada. Vuelva a intentarlo cuando nadie trabaje en ella.</source>
        <translation>Another seat is using the server&apos;s database: nothing has been copied. Try again when nobody is working in it.</translation>
    </message>
    <message>
        <source>El usuario «%1» no tiene permiso para hacerlo en el servidor %2 (el dueño de la base de datos, con permiso para crear usuarios, debe hacerlo): %3</source>
        <translation>The user &quot;%1&quot; has no permission to do this on server %2 (the owner of the database, with permission to create users, must do it): %3</translation>
    </message>
    <message>
        <source>El servidor ha rechazado la copia: no se ha copiado nada.</source>
        <translation>The server has refused the copy: nothing has been copied.</translation>
    </message>
    <message>
        <source>Uso: orbalia-install CARPETA --servidor HOST --base NOMBRE --usuario U [opciones]
Lleva los datos de la oficina instalada en CARPETA a una base de datos PostgreSQL y deja
el puesto trabajando en ella (sección [Servidor] de Orbalia.ini):
</source>
        <translation>Usage: orbalia-install FOLDER --servidor HOST --base NAME --usuario U [options]
Carries the data of the office installed in FOLDER into a PostgreSQL database and leaves
the seat working on it (section [Servidor] of Orbalia.ini):
</translation>
    </message>
    <message>
        <source>  --servidor HOST           nombre o dirección del servidor PostgreSQL
  --puerto N                puerto del servidor (por omisión 5432)
  --base NOMBRE             base de datos, creada vacía por el administrador
  --usuario U               usuario del servidor, dueño de la base de datos
  --clave-archivo F         lee la contraseña del archivo F; sin él se pregunta sin
                            mostrarla (nunca en la línea de órdenes)
  --reemplazar              sustituye los datos de esta oficina que ya tenga el servidor
  --actualizar              solo pone la base de datos del servidor en la versión de este
                            programa, sin copiar nada (después de instalar uno nuevo)
  --agente USUARIO          solo da de alta (o cambia la contraseña de) un agente con su
                            propio usuario del servidor, sin copiar nada; con:
  --oficina CÓDIGO          oficina del agente (solo escribe los registros de ella)
  --nombre TEXTO            nombre del agente en el catálogo (por omisión, USUARIO)
  --email DIRECCIÓN         correo del agente
  --principal               la oficina del agente es la principal (escribe los catálogos)
  --clave-agente-archivo F  lee la contraseña del agente del archivo F; sin él se pregunta
</source>
        <translation>  --servidor HOST           name or address of the PostgreSQL server
  --puerto N                port of the server (default 5432)
  --base NAME               database, created empty by the administrator
  --usuario U               user on the server, owner of the database
  --clave-archivo F         reads the password from file F; without it, it is asked for
                            without showing it (never on the command line)
  --reemplazar              replaces the data of this office that the server already holds
  --actualizar              only brings the server&apos;s database to this program&apos;s version,
                            copying nothing (after installing a new one)
  --agente USER             only adds an agent with their own user on the server (or
                            changes their password), copying nothing; with:
  --oficina CODE            the agent&apos;s office (writes only its records)
  --nombre TEXT             the agent&apos;s name in the catalogue (default: USER)
  --email ADDRESS           the agent&apos;s email
  --principal               the agent&apos;s office is the main office (writes the catalogues)
  --clave-agente-archivo F  reads the agent&apos;s password from file F; without it, it is asked
</translation>
    </message>
    <message>
        <source>Crea las tablas de la agencia si la base está vacía, copia todas las tablas en una sola
transacción y compara filas y sumas de comprobación antes de confirmarla: si algo no
coincide, el servidor queda como estaba. Repetirla con los mismos datos no cambia nada.
</source>
        <translation>Creates the agency&apos;s tables if the database is empty, copies every table in a single
transaction and compares rows and checksums before committing it: if anything does not
match, the server is left as it was. Running it again with the same data changes nothing.
</translation>
    </message>
    <message>
        <source>Error: --puerto necesita un número de puerto entre 1 y 65535.</source>
        <translation>Error: --puerto needs a port number from 1 to 65535.</translation>
    </message>
    <message>
        <source>Error: argumento no reconocido con --servidor: %1</source>
        <translation>Error: argument not recognised with --servidor: %1</translation>
    </message>
    <message>
        <source>Error: falta %1.</source>
        <translation>Error: %1 is missing.</translation>
    </message>
    <message>
        <source>Error: falta la CARPETA de la instalación.</source>
        <translation>Error: the installation FOLDER is missing.</translation>
    </message>
    <message>
        <source>Error: CARPETA: %1 no es una instalación de Orbalia (no tiene Orbalia.ini).</source>
        <translation>Error: FOLDER: %1 is not an Orbalia installation (it has no Orbalia.ini).</translation>
    </message>
    <message>
        <source>Error: --clave-archivo: no se puede leer %1.</source>
        <translation>Error: --clave-archivo: cannot read %1.</translation>
    </message>
    <message>
        <source>Error: --agente necesita el usuario del agente y --oficina su oficina.</source>
        <translation>Error: --agente needs the agent&apos;s user and --oficina their office.</translation>
    </message>
    <message>
        <source>Error: --clave-agente-archivo: no se puede leer %1.</source>
        <translation>Error: --clave-agente-archivo: cannot read %1.</translation>
    </message>
    <message>
        <source>Error: falta la contraseña del agente %1.</source>
        <translation>Error: the password of agent %1 is missing.</translation>
    </message>
    <message>
        <source>Agente %1 de la oficina %2 dado de alta en la base de datos «%3».</source>
        <translation>Agent %1 of office %2 added to the database &quot;%3&quot;.</translation>
    </message>
    <message>
        <source>orbalia-install --agente %1 --oficina %2 en %3</source>
        <translation>orbalia-install --agente %1 --oficina %2 on %3</translation>
    </message>
    <message>
        <source>Error: %1</source>
        <translation>Error: %1</translation>
    </message>
    <message>
        <source>La base de datos «%1» del servidor está en la versión %2.</source>
        <translation>The server&apos;s database &quot;%1&quot; is at version %2.</translation>
    </message>
    <message numerus="yes">
        <source>%n filas</source>
        <translation>
            <numerusform>%n row</numerusform>
            <numerusform>%n rows</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>El servidor ya tenía los datos de esta oficina (%n tablas, %1, iguales en ambos lados): no se ha cambiado nada.</source>
        <translation>
            <numerusform>The server already held this office&apos;s data (%n table, %1, the same on both sides): nothing has been changed.</numerusform>
            <numerusform>The server already held this office&apos;s data (%n tables, %1, the same on both sides): nothing has been changed.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Copiadas %n tablas con %1 a %2; filas y sumas de comprobación iguales en la oficina y en el servidor.</source>
        <translation>
            <numerusform>Copied %n table with %1 to %2; rows and checksums are the same in the office and on the server.</numerusform>
            <numerusform>Copied %n tables with %1 to %2; rows and checksums are the same in the office and on the server.</numerusform>
        </translation>
    </message>
    <message>
        <source>Error: no se ha podido escribir la conexión del puesto en Orbalia.ini u %1 de %2; los datos ya están en el servidor: repita la orden cuando se pueda escribir.</source>
        <translation>Error: the seat&apos;s connection could not be written to Orbalia.ini or %1 in %2; the data are already on the server: repeat the command when they can be written.</translation>
    </message>
    <message>
        <source>El puesto de %1 trabajará con el servidor %2.</source>
        <translation>The seat in %1 will work with server %2.</translation>
    </message>
</context>
<context>
    <name>ReglasOficinaServidor</name>
    <message>
        <source>El nombre %1 no es válido en el servidor.</source>
        <translation>The name %1 is not valid on the server.</translation>
    </message>
    <message>
        <source>No se puede escribir el texto para el servidor.</source>
        <translation>The text cannot be written for the server.</translation>
    </message>
    <message>
        <source>Falta el usuario del agente (--agente).</source>
        <translation>The agent&apos;s user is missing (--agente).</translation>
    </message>
    <message>
        <source>Falta la oficina del agente (--oficina).</source>
        <translation>The agent&apos;s office is missing (--oficina).</translation>
    </message>
    <message>
        <source>Falta la contraseña del agente.</source>
        <translation>The agent&apos;s password is missing.</translation>
    </message>
    <message>
        <source>No se puede cifrar la contraseña: %1</source>
        <translation>The password cannot be encrypted: %1</translation>
    </message>
</context>
<context>
    <name>Restauracion</name>
    <message>
        <source>No se encuentra la copia de seguridad %1.</source>
        <translation>The backup %1 cannot be found.</translation>
    </message>
    <message>
        <source>No se encuentra el programa pg_restore, que restaura la copia en el servidor: instale en este puesto el paquete postgresql-client.</source>
        <translation>pg_restore, the program that restores the backup on the server, cannot be found: install the postgresql-client package on this seat.</translation>
    </message>
    <message>
        <source>El archivo %1 no es una copia de la base de datos de la agencia en un servidor (las que orbalia-backup hace en un puesto del servidor, .dump).</source>
        <translation>The file %1 is not a backup of the agency database on a server (those orbalia-backup makes on a server seat, .dump).</translation>
    </message>
    <message>
        <source>Antes de restaurar en %1: %2</source>
        <translation>Before restoring into %1: %2</translation>
    </message>
    <message>
        <source>El servidor no ha dejado ver qué tiene la base de datos [%1]; no se ha cambiado nada.</source>
        <translation>The server did not show what the database [%1] holds; nothing has been changed.</translation>
    </message>
    <message>
        <source>La base de datos [%1] no está vacía: una copia solo se restaura en una base de datos vacía, y no se ha cambiado nada.
El administrador del servidor la borra y la crea de nuevo, vacía y con el usuario %2 como dueño (dropdb y createdb; véase la sección Backups del README).</source>
        <translation>The database [%1] is not empty: a backup is only restored into an empty database, and nothing has been changed.
The server&apos;s administrator drops it and creates it again, empty and with the user %2 as its owner (dropdb and createdb; see the section Backups of the README).</translation>
    </message>
    <message>
        <source>pg_restore de %1 en %2: código %3: %4</source>
        <translation>pg_restore of %1 into %2: code %3: %4</translation>
    </message>
    <message>
        <source>restaurar la copia en [%1], que sigue vacía</source>
        <translation>restore the backup into [%1], which is still empty</translation>
    </message>
    <message>
        <source>Tras restaurar en %1: %2</source>
        <translation>After restoring into %1: %2</translation>
    </message>
    <message>
        <source>No se puede apartar la base de datos actual %1 para restaurar la copia.</source>
        <translation>Cannot move the current database %1 aside to restore the backup.</translation>
    </message>
    <message>
        <source>El archivo %1 no es una copia de la base de datos de Orbalia o está dañado.</source>
        <translation>The file %1 is not a backup of the Orbalia database or it is damaged.</translation>
    </message>
    <message>
        <source>leer la copia de seguridad</source>
        <translation>read the backup</translation>
    </message>
    <message>
        <source>El programa está abierto en esta instalación: ciérrelo y vuelva a restaurar la copia. No se ha cambiado nada.</source>
        <translation>The program is open in this installation: close it and restore the backup again. Nothing has been changed.</translation>
    </message>
    <message>
        <source>No se puede escribir en la carpeta de la instalación %1.</source>
        <translation>Cannot write in the installation folder %1.</translation>
    </message>
    <message>
        <source>%1
La base de datos actual se ha apartado, como estaba, en %2.</source>
        <translation>%1
The current database has been moved aside, as it was, to %2.</translation>
    </message>
    <message>
        <source>restaurar la copia de seguridad</source>
        <translation>restore the backup</translation>
    </message>
    <message>
        <source>No se ha podido restaurar la copia en %1: %2</source>
        <translation>The backup could not be restored into %1: %2</translation>
    </message>
    <message>
        <source>Restaurada la copia de seguridad %1 en %2</source>
        <translation>Restored the backup %1 into %2</translation>
    </message>
</context>
<context>
    <name>Schema</name>
    <message>
        <source>campo %1.%2 añadido</source>
        <translation>field %1.%2 added</translation>
    </message>
    <message>
        <source>tabla %1 creada</source>
        <translation>table %1 created</translation>
    </message>
    <message>
        <source>índice %1 creado</source>
        <translation>index %1 created</translation>
    </message>
    <message>
        <source>consultas guardadas escritas de nuevo</source>
        <translation>saved queries written again</translation>
    </message>
    <message>
        <source>índice Propiedades_BusquedaTexto creado</source>
        <translation>index Propiedades_BusquedaTexto created</translation>
    </message>
    <message>
        <source>campo Clientes.%1 añadido</source>
        <translation>field Clientes.%1 added</translation>
    </message>
    <message>
        <source>tabla Visitas creada</source>
        <translation>table Visitas created</translation>
    </message>
    <message>
        <source>tabla Agentes creada</source>
        <translation>table Agentes created</translation>
    </message>
    <message>
        <source>Base de datos creada en la versión %1</source>
        <translation>Database created at version %1</translation>
    </message>
    <message>
        <source>Versión %1 → %2</source>
        <translation>Version %1 → %2</translation>
    </message>
</context>
<context>
    <name>SchemaBusquedaRapida</name>
    <message numerus="yes">
        <source>índice de texto %1 con %n filas</source>
        <translation>
            <numerusform>text index %1 with %n row</numerusform>
            <numerusform>text index %1 with %n rows</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SchemaDuplicados</name>
    <message>
        <source>índice %1 creado</source>
        <translation>index %1 created</translation>
    </message>
</context>
<context>
    <name>SchemaServidor</name>
    <message>
        <source>La base de datos del servidor no es de Orbalia o no tiene versión.</source>
        <translation>The server&apos;s database is not an Orbalia database or has no version.</translation>
    </message>
    <message>
        <source>La base de datos del servidor está en la versión %1, más nueva que la de este programa (versión %2).</source>
        <translation>The server&apos;s database is at version %1, newer than this program&apos;s (version %2).</translation>
    </message>
    <message>
        <source>Versión %1 del servidor: %2</source>
        <translation>Server version %1: %2</translation>
    </message>
    <message>
        <source>hecha</source>
        <translation>done</translation>
    </message>
    <message>
        <source>sin cambios en el servidor</source>
        <translation>no changes on the server</translation>
    </message>
</context>
<context>
    <name>SqlBusqueda</name>
    <message>
        <source>El campo %1 debe ser un número: «%2» no lo es.</source>
        <translation>The %1 field must be a number: “%2” is not.</translation>
    </message>
    <message>
        <source>Código</source>
        <translation>Reference</translation>
    </message>
    <message>
        <source>Dirección</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>Tipo</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Localidad</source>
        <translation>Town</translation>
    </message>
    <message>
        <source>Area</source>
        <translation>Area</translation>
    </message>
    <message>
        <source>Dormitorios</source>
        <translation>Bedrooms</translation>
    </message>
    <message>
        <source>Metros</source>
        <translation>Size (m²)</translation>
    </message>
    <message>
        <source>Precio</source>
        <translation>Price</translation>
    </message>
    <message>
        <source>Nombre</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Teléfono</source>
        <translation>Telephone</translation>
    </message>
    <message>
        <source>Fecha</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Móvil</source>
        <translation>Mobile</translation>
    </message>
    <message>
        <source>Presupuesto</source>
        <translation>Budget</translation>
    </message>
    <message>
        <source>Nº Dormitorios (desde)</source>
        <translation>Bedrooms (from)</translation>
    </message>
    <message>
        <source>Nº Dormitorios (hasta)</source>
        <translation>Bedrooms (to)</translation>
    </message>
    <message>
        <source>Precio (desde)</source>
        <translation>Price (from)</translation>
    </message>
    <message>
        <source>Precio (hasta)</source>
        <translation>Price (to)</translation>
    </message>
    <message>
        <source>Presupuesto (desde)</source>
        <translation>Budget (from)</translation>
    </message>
    <message>
        <source>Presupuesto (hasta)</source>
        <translation>Budget (to)</translation>
    </message>
</context>
<context>
    <name>TrabajoCopias</name>
    <message>
        <source>No existe la carpeta de la instalación: %1</source>
        <translation>The installation folder does not exist: %1</translation>
    </message>
    <message>
        <source>La carpeta %1 no es una instalación de Orbalia: no tiene %2 ni Orbalia.db.</source>
        <translation>The folder %1 is not an Orbalia installation: it has neither %2 nor Orbalia.db.</translation>
    </message>
    <message>
        <source>No se puede crear la carpeta de las copias de seguridad %1.</source>
        <translation>Cannot create the backups folder %1.</translation>
    </message>
    <message>
        <source>Hay otra copia de seguridad en curso en esta instalación: se espera a que termine.</source>
        <translation>Another backup is in progress in this installation: waiting for it to finish.</translation>
    </message>
    <message>
        <source>No se puede escribir en la carpeta de las copias de seguridad %1.</source>
        <translation>Cannot write in the backups folder %1.</translation>
    </message>
    <message>
        <source>No se puede escribir en la carpeta de las copias de seguridad %1: %2</source>
        <translation>Cannot write in the backups folder %1: %2</translation>
    </message>
    <message>
        <source>No se ha podido dar su nombre a la copia de seguridad en %1.</source>
        <translation>The backup could not be given its name in %1.</translation>
    </message>
    <message>
        <source>hacer la copia de seguridad</source>
        <translation>make the backup</translation>
    </message>
    <message>
        <source>No se ha podido copiar la base de datos [%1]: %2</source>
        <translation>The database [%1] could not be copied: %2</translation>
    </message>
    <message>
        <source>Error al abrir la base de datos [%1]: %2</source>
        <translation>Error opening the database [%1]: %2</translation>
    </message>
    <message>
        <source>%1 no ha podido %2:
%3</source>
        <translation>%1 could not %2:
%3</translation>
    </message>
    <message>
        <source>%1 no ha podido %2 (ha terminado con el código %3).</source>
        <translation>%1 could not %2 (it ended with code %3).</translation>
    </message>
    <message>
        <source>%1 no ha podido %2 (se ha interrumpido).</source>
        <translation>%1 could not %2 (it was interrupted).</translation>
    </message>
</context>
<context>
    <name>Upgrade</name>
    <message>
        <source>No se puede sustituir %1</source>
        <translation>Cannot replace %1</translation>
    </message>
    <message>
        <source>Uso: orbalia-updatedb [CÓDIGO_OFICINA00000]
Crea o actualiza Orbalia.db a la versión %1.
</source>
        <translation>Usage: orbalia-updatedb [OFFICE_CODE00000]
Creates or upgrades Orbalia.db to version %1.
</translation>
    </message>
    <message>
        <source>Orbalia: actualización de la base de datos
</source>
        <translation>Orbalia: database upgrade
</translation>
    </message>
    <message>
        <source>Error: no se sabe dónde está la base de datos Orbalia.db.
</source>
        <translation>Error: the location of the database Orbalia.db is not known.
</translation>
    </message>
    <message>
        <source>Base de datos: %1
</source>
        <translation>Database: %1
</translation>
    </message>
    <message>
        <source>No existe la base de datos: se crea nueva.
</source>
        <translation>The database does not exist: a new one is created.
</translation>
    </message>
    <message>
        <source>Versión encontrada: %1
</source>
        <translation>Version found: %1
</translation>
    </message>
    <message>
        <source>La base de datos es de una versión posterior a la %1 de este programa: no se modifica.
</source>
        <translation>The database is from a version later than this program&apos;s %1: it is not changed.
</translation>
    </message>
    <message>
        <source>La base de datos ya está en la versión %1: no hay nada que actualizar.
</source>
        <translation>The database is already at version %1: there is nothing to upgrade.
</translation>
    </message>
    <message>
        <source>Plantilla de intercambio ExportSchema.db escrita de nuevo.
</source>
        <translation>Exchange template ExportSchema.db written again.
</translation>
    </message>
    <message>
        <source>Copia de seguridad: %1
</source>
        <translation>Backup: %1
</translation>
    </message>
    <message>
        <source>Código de oficina: %1
</source>
        <translation>Office code: %1
</translation>
    </message>
    <message>
        <source>La base de datos está en la versión %1.
</source>
        <translation>The database is at version %1.
</translation>
    </message>
    <message>
        <source>La base de datos no se ha actualizado.
</source>
        <translation>The database has not been upgraded.
</translation>
    </message>
</context>
<context>
    <name>Visitas</name>
    <message>
        <source>1 - Sin interés</source>
        <translation>1 - Not interested</translation>
    </message>
    <message>
        <source>2 - Poco interés</source>
        <translation>2 - Little interest</translation>
    </message>
    <message>
        <source>3 - Le gusta</source>
        <translation>3 - Likes it</translation>
    </message>
    <message>
        <source>4 - Le gusta mucho</source>
        <translation>4 - Likes it a lot</translation>
    </message>
    <message>
        <source>5 - Quiere hacer una oferta</source>
        <translation>5 - Wants to make an offer</translation>
    </message>
    <message>
        <source>Prevista</source>
        <translation>Scheduled</translation>
    </message>
    <message>
        <source>Realizada</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>Anulada</source>
        <translation>Cancelled</translation>
    </message>
    <message>
        <source>No presentado</source>
        <translation>No-show</translation>
    </message>
    <message>
        <source>Falta la propiedad de la visita (campo Propiedad).</source>
        <translation>The viewing has no property (field Property).</translation>
    </message>
    <message>
        <source>No existe la propiedad %1 (campo Propiedad).</source>
        <translation>There is no property %1 (field Property).</translation>
    </message>
    <message>
        <source>Falta el cliente de la visita (campo Cliente).</source>
        <translation>The viewing has no client (field Client).</translation>
    </message>
    <message>
        <source>No existe el cliente %1 (campo Cliente).</source>
        <translation>There is no client %1 (field Client).</translation>
    </message>
    <message>
        <source>La fecha de la visita no es válida (campo Fecha, dd/mm/aaaa).</source>
        <translation>The viewing&apos;s date is not valid (field Date, dd/mm/yyyy).</translation>
    </message>
    <message>
        <source>La hora de la visita no es válida (campo Hora, hh:mm).</source>
        <translation>The viewing&apos;s time is not valid (field Time, hh:mm).</translation>
    </message>
    <message>
        <source>La duración de la visita debe estar entre 5 y 600 minutos (campo Duración).</source>
        <translation>The viewing&apos;s length must be between 5 and 600 minutes (field Duration).</translation>
    </message>
    <message>
        <source>El estado de la visita no es válido (campo Estado).</source>
        <translation>The viewing&apos;s status is not valid (field Status).</translation>
    </message>
    <message>
        <source>La valoración de la visita va de 1 a 5 (campo Valoración).</source>
        <translation>The viewing&apos;s rating goes from 1 to 5 (field Rating).</translation>
    </message>
    <message>
        <source>La oferta no puede ser negativa (campo Oferta).</source>
        <translation>The offer cannot be negative (field Offer).</translation>
    </message>
    <message>
        <source>%1 ya tiene una visita de %2 a %3 en la propiedad %4.</source>
        <translation>%1 already has a viewing from %2 to %3 at property %4.</translation>
    </message>
    <message>
        <source>La propiedad %1 está vendida.</source>
        <translation>Property %1 is sold.</translation>
    </message>
    <message>
        <source>La propiedad %1 está alquilada.</source>
        <translation>Property %1 is let.</translation>
    </message>
    <message>
        <source>Visita %1</source>
        <translation>Viewing %1</translation>
    </message>
    <message>
        <source>Visita %1 con %2</source>
        <translation>Viewing %1 with %2</translation>
    </message>
    <message>
        <source>Agente: %1
Estado: %2</source>
        <translation>Agent: %1
Status: %2</translation>
    </message>
</context>
<context>
    <name>VisitasFichas</name>
    <message>
        <source>Informe al propietario</source>
        <translation>Owner report</translation>
    </message>
    <message>
        <source>¿Enviar el informe de la propiedad %1 a su propietario %2?</source>
        <translation>Send the report on property %1 to its owner %2?</translation>
    </message>
    <message>
        <source>preparar el informe al propietario</source>
        <translation>prepare the owner report</translation>
    </message>
    <message>
        <source>No se puede preparar el informe al propietario.</source>
        <translation>The owner report cannot be prepared.</translation>
    </message>
</context>
<context>
    <name>VisitasInformes</name>
    <message>
        <source>El cliente abajo firmante declara que la agencia le ha presentado y mostrado las propiedades relacionadas en esta hoja, de las que no tenía conocimiento por otra vía, y se compromete a tratar cualquier operación sobre ellas a través de la agencia. Los datos personales se tratan solo para la gestión de estas visitas.</source>
        <translation>The undersigned client declares that the agency has introduced and shown them the properties listed on this sheet, which they did not know of by any other means, and undertakes to deal with any transaction concerning them through the agency. Personal data are processed only to manage these viewings.</translation>
    </message>
    <message>
        <source> €/mes</source>
        <translation> €/month</translation>
    </message>
    <message>
        <source>del %1 al %2</source>
        <translation>from %1 to %2</translation>
    </message>
    <message>
        <source>Visitas: %1 (realizadas %2, previstas %3, anuladas %4, no presentado %5).</source>
        <translation>Viewings: %1 (done %2, scheduled %3, cancelled %4, no-show %5).</translation>
    </message>
    <message>
        <source>Ofertas: ninguna.</source>
        <translation>Offers: none.</translation>
    </message>
    <message>
        <source>Ofertas: %1; la mayor, %2 €.</source>
        <translation>Offers: %1; the highest, %2 €.</translation>
    </message>
    <message>
        <source>Clientes que buscan una propiedad como esta: %1; se ha enviado el dossier a %2.</source>
        <translation>Clients looking for a property like this one: %1; the dossier has been sent to %2.</translation>
    </message>
    <message>
        <source>Días en el mercado: %1.</source>
        <translation>Days on the market: %1.</translation>
    </message>
    <message>
        <source>El propietario de la propiedad %1 no tiene dirección de correo (campo Email). No se ha enviado el informe.</source>
        <translation>The owner of property %1 has no e-mail address (field Email). The report has not been sent.</translation>
    </message>
    <message>
        <source>Informe de su propiedad %1</source>
        <translation>Report on your property %1</translation>
    </message>
    <message>
        <source>Le enviamos el informe de su propiedad %1 del periodo %2.</source>
        <translation>Please find attached the report on your property %1 for the period %2.</translation>
    </message>
    <message>
        <source>Hoja de visita del %1</source>
        <translation>Viewing sheet of %1</translation>
    </message>
    <message>
        <source>Le adjuntamos la hoja de las visitas del %1.</source>
        <translation>Please find attached the sheet of your viewings of %1.</translation>
    </message>
</context>
<context>
    <name>clsManten</name>
    <message>
        <source>%1: el texto es demasiado largo (%2 caracteres; como máximo %3).</source>
        <translation>%1: the text is too long (%2 characters; at most %3).</translation>
    </message>
    <message>
        <source>%1: falta el número (un número entero mayor que 0).</source>
        <translation>%1: the number is missing (a whole number greater than 0).</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; no es un número entero.</source>
        <translation>%1: &quot;%2&quot; is not a whole number.</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; no es válido: el número debe ser mayor que 0.</source>
        <translation>%1: &quot;%2&quot; is not valid: the number must be greater than 0.</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; está fuera del intervalo admitido (de %3 a %4).</source>
        <translation>%1: &quot;%2&quot; is outside the allowed range (%3 to %4).</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; no es un importe válido.</source>
        <translation>%1: &quot;%2&quot; is not a valid amount.</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; no es un número válido.</source>
        <translation>%1: &quot;%2&quot; is not a valid number.</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; no es una fecha válida (dd/mm/aaaa).</source>
        <translation>%1: &quot;%2&quot; is not a valid date (dd/mm/yyyy).</translation>
    </message>
</context>
<context>
    <name>db::Database</name>
    <message>
        <source>Falta la base de datos o el usuario del servidor</source>
        <translation>The server database or user is missing</translation>
    </message>
    <message>
        <source>No se ha indicado la base de datos</source>
        <translation>No database was given</translation>
    </message>
    <message>
        <source>No se encuentra el archivo &apos;%1&apos;</source>
        <translation>The file &apos;%1&apos; cannot be found</translation>
    </message>
    <message>
        <source>No se puede abrir la base de datos &apos;%1&apos;: %2</source>
        <translation>Cannot open the database &apos;%1&apos;: %2</translation>
    </message>
    <message>
        <source>La instrucción espera %1 parámetros y recibió %2</source>
        <translation>The statement expects %1 parameters and received %2</translation>
    </message>
    <message>
        <source>Instrucción SQL vacía</source>
        <translation>Empty SQL statement</translation>
    </message>
    <message>
        <source>Las instrucciones esperan %1 parámetros y recibieron %2</source>
        <translation>The statements expect %1 parameters and received %2</translation>
    </message>
    <message>
        <source>La copia de seguridad de una base de datos del servidor la hace el propio servidor</source>
        <translation>The backup of a server database is made by the server itself</translation>
    </message>
    <message>
        <source>No se puede crear la copia &apos;%1&apos;</source>
        <translation>Cannot create the copy &apos;%1&apos;</translation>
    </message>
    <message>
        <source>No se puede copiar la base de datos: %1</source>
        <translation>Cannot copy the database: %1</translation>
    </message>
    <message>
        <source>No se pudo completar la copia de la base de datos &apos;%1&apos;: %2</source>
        <translation>The copy of the database &apos;%1&apos; could not be completed: %2</translation>
    </message>
</context>
<context>
    <name>db::DbError</name>
    <message>
        <source>Otro puesto ha modificado este registro mientras lo editaba.</source>
        <translation>Another seat changed this record while you were editing it.</translation>
    </message>
</context>
<context>
    <name>db::Recordset</name>
    <message>
        <source>Un recordset de tabla se abre con el nombre de una tabla: %1</source>
        <translation>A table recordset is opened with the name of a table: %1</translation>
    </message>
    <message>
        <source>No se encuentra la tabla &apos;%1&apos;.</source>
        <translation>The table &apos;%1&apos; cannot be found.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; no es una tabla</source>
        <translation>&apos;%1&apos; is not a table</translation>
    </message>
    <message>
        <source>No se puede abrir como dynaset actualizable porque el origen %1: %2</source>
        <translation>Cannot open as an updatable dynaset because the source %1: %2</translation>
    </message>
</context>
<context>
    <name>db::RecordsetEditing</name>
    <message>
        <source>Actualizar o CancelarActualizar sin AgregarNuevo o Modificar.</source>
        <translation>Update or CancelUpdate without AddNew or Edit.</translation>
    </message>
    <message>
        <source>Error de conversión de tipo de datos en el campo &apos;%1&apos;: %2</source>
        <translation>Data type conversion error in the field &apos;%1&apos;: %2</translation>
    </message>
    <message>
        <source>No se puede cambiar el campo &apos;%1&apos; sin AgregarNuevo o Modificar.</source>
        <translation>The field &apos;%1&apos; cannot be changed without AddNew or Edit.</translation>
    </message>
    <message>
        <source>El campo &apos;%1&apos; no se puede actualizar.</source>
        <translation>The field &apos;%1&apos; cannot be updated.</translation>
    </message>
</context>
<context>
    <name>db::RecordsetImpl</name>
    <message>
        <source>No hay un registro activo.</source>
        <translation>There is no current record.</translation>
    </message>
    <message>
        <source>No se puede actualizar. La base de datos o el objeto es de sólo lectura.</source>
        <translation>Cannot update. The database or the object is read-only.</translation>
    </message>
    <message>
        <source>No se encontró el elemento %1 en esta colección.</source>
        <translation>Item %1 was not found in this collection.</translation>
    </message>
    <message>
        <source>No se encontró el elemento &apos;%1&apos; en esta colección.</source>
        <translation>Item &apos;%1&apos; was not found in this collection.</translation>
    </message>
    <message>
        <source>El recordset está cerrado.</source>
        <translation>The recordset is closed.</translation>
    </message>
</context>
<context>
    <name>db::ServerEngine</name>
    <message>
        <source>La instrucción espera %1 parámetros y recibió %2</source>
        <translation>The statement expects %1 parameters and received %2</translation>
    </message>
    <message>
        <source>Instrucción SQL vacía</source>
        <translation>Empty SQL statement</translation>
    </message>
    <message>
        <source>El servidor ha rechazado el usuario o la contraseña. (%1)</source>
        <translation>The server refused the user or the password. (%1)</translation>
    </message>
    <message>
        <source>No se puede conectar con el servidor de la base de datos. (%1)</source>
        <translation>Cannot connect to the database server. (%1)</translation>
    </message>
    <message>
        <source>El servidor no tiene esa base de datos. (%1)</source>
        <translation>The server does not have that database. (%1)</translation>
    </message>
    <message>
        <source>Se ha perdido la conexión con el servidor. (%1)</source>
        <translation>The connection to the server was lost. (%1)</translation>
    </message>
    <message>
        <source>No se realizaron los cambios porque crearían valores duplicados en el índice o la clave principal: %1</source>
        <translation>The changes were not made because they would create duplicate values in the index or the primary key: %1</translation>
    </message>
    <message>
        <source>Otro puesto está usando estos datos en este momento. (%1)</source>
        <translation>Another seat is using this data right now. (%1)</translation>
    </message>
    <message>
        <source>El campo no puede contener un valor nulo: %1</source>
        <translation>The field cannot contain a null value: %1</translation>
    </message>
    <message>
        <source>El campo es demasiado pequeño para aceptar la cantidad de datos que intentó agregar: %1</source>
        <translation>The field is too small to accept the amount of data you tried to add: %1</translation>
    </message>
    <message>
        <source>El valor no cumple la regla del campo: %1</source>
        <translation>The value does not meet the field’s rule: %1</translation>
    </message>
    <message>
        <source>Error en la instrucción SQL: %1</source>
        <translation>Error in the SQL statement: %1</translation>
    </message>
    <message>
        <source>Error de la base de datos: %1</source>
        <translation>Database error: %1</translation>
    </message>
    <message>
        <source>No se puede preparar la búsqueda en memoria</source>
        <translation>Cannot prepare the in-memory search</translation>
    </message>
    <message>
        <source>No hay ninguna transacción abierta que confirmar</source>
        <translation>There is no open transaction to commit</translation>
    </message>
    <message>
        <source>No hay ninguna transacción abierta que deshacer</source>
        <translation>There is no open transaction to roll back</translation>
    </message>
    <message>
        <source>No existe el parámetro %1</source>
        <translation>Parameter %1 does not exist</translation>
    </message>
    <message>
        <source>No existe la columna %1 en el resultado</source>
        <translation>Column %1 does not exist in the result</translation>
    </message>
    <message>
        <source>No hay una fila activa.</source>
        <translation>There is no current row.</translation>
    </message>
</context>
<context>
    <name>db::Snapshot</name>
    <message>
        <source>El criterio espera %1 parámetros y recibió %2</source>
        <translation>The criteria expect %1 parameters and received %2</translation>
    </message>
</context>
<context>
    <name>db::SqlSource</name>
    <message>
        <source>no es una consulta SELECT ni el nombre de una tabla</source>
        <translation>is neither a SELECT query nor the name of a table</translation>
    </message>
    <message>
        <source>usa DISTINCT</source>
        <translation>uses DISTINCT</translation>
    </message>
    <message>
        <source>no lee de ninguna tabla</source>
        <translation>reads from no table</translation>
    </message>
    <message>
        <source>tiene parámetros en la lista de campos</source>
        <translation>has parameters in the field list</translation>
    </message>
    <message>
        <source>usa una función de ventana</source>
        <translation>uses a window function</translation>
    </message>
    <message>
        <source>calcula totales (%1)</source>
        <translation>computes totals (%1)</translation>
    </message>
    <message>
        <source>agrupa o combina consultas (%1)</source>
        <translation>groups or combines queries (%1)</translation>
    </message>
    <message>
        <source>lee de más de una tabla o de una subconsulta</source>
        <translation>reads from more than one table or from a subquery</translation>
    </message>
</context>
<context>
    <name>db::SqliteSupport</name>
    <message>
        <source>No se realizaron los cambios porque crearían valores duplicados en el índice o la clave principal: %1</source>
        <translation>The changes were not made because they would create duplicate values in the index or the primary key: %1</translation>
    </message>
    <message>
        <source>El campo no puede contener un valor nulo: %1</source>
        <translation>The field cannot contain a null value: %1</translation>
    </message>
    <message>
        <source>El campo es demasiado pequeño para aceptar la cantidad de datos que intentó agregar: %1</source>
        <translation>The field is too small to accept the amount of data you tried to add: %1</translation>
    </message>
    <message>
        <source>El valor no cumple la regla del campo: %1</source>
        <translation>The value does not meet the field’s rule: %1</translation>
    </message>
    <message>
        <source>El registro está relacionado con otros: %1</source>
        <translation>The record is related to others: %1</translation>
    </message>
    <message>
        <source>No se puede abrir la base de datos%1: %2</source>
        <translation>Cannot open the database%1: %2</translation>
    </message>
    <message>
        <source>La base de datos está bloqueada por otro proceso: %1</source>
        <translation>The database is locked by another process: %1</translation>
    </message>
    <message>
        <source>La base de datos es de sólo lectura: %1</source>
        <translation>The database is read-only: %1</translation>
    </message>
    <message>
        <source>Error en la instrucción SQL%1: %2</source>
        <translation>Error in the SQL statement%1: %2</translation>
    </message>
    <message>
        <source>Error de la base de datos%1: %2</source>
        <translation>Database error%1: %2</translation>
    </message>
    <message>
        <source>Instrucción SQL vacía</source>
        <translation>Empty SQL statement</translation>
    </message>
    <message>
        <source>La instrucción espera %1 parámetros y recibió %2</source>
        <translation>The statement expects %1 parameters and received %2</translation>
    </message>
</context>
<context>
    <name>db::Statement</name>
    <message>
        <source>No existe la columna %1 en el resultado</source>
        <translation>Column %1 does not exist in the result</translation>
    </message>
</context>
<context>
    <name>db::TableIndex</name>
    <message>
        <source>La operación no es válida para este tipo de recordset (Index).</source>
        <translation>The operation is not valid for this type of recordset (Index).</translation>
    </message>
    <message>
        <source>Los índices de un recordset de tabla no se eligen en una base de datos del servidor: use una consulta ordenada.</source>
        <translation>The indexes of a table recordset are not chosen on a server database: use a sorted query.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; no es un índice de la tabla &apos;%2&apos;.</source>
        <translation>&apos;%1&apos; is not an index of the table &apos;%2&apos;.</translation>
    </message>
    <message>
        <source>La operación no es válida sin un índice activo en un recordset de tabla.</source>
        <translation>The operation is not valid without a current index on a table recordset.</translation>
    </message>
    <message>
        <source>Comparación de búsqueda no admitida: %1</source>
        <translation>Unsupported search comparison: %1</translation>
    </message>
    <message>
        <source>El índice &apos;%1&apos; tiene %2 campos y se dieron %3 valores.</source>
        <translation>The index &apos;%1&apos; has %2 fields and %3 values were given.</translation>
    </message>
</context>
<context>
    <name>db::Transaction</name>
    <message>
        <source>No se pudo deshacer la transacción en &apos;%1&apos;: error %2 (%3)</source>
        <translation>The transaction on &apos;%1&apos; could not be rolled back: error %2 (%3)</translation>
    </message>
    <message>
        <source>No se pudo deshacer la transacción en &apos;%1&apos;: %2</source>
        <translation>The transaction on &apos;%1&apos; could not be rolled back: %2</translation>
    </message>
</context>
<context>
    <name>image::Picture</name>
    <message>
        <source>No se puede leer la imagen %1: %2.</source>
        <translation>Cannot read the picture %1: %2.</translation>
    </message>
    <message>
        <source>No se puede guardar la imagen %1: %2.</source>
        <translation>Cannot save the picture %1: %2.</translation>
    </message>
    <message>
        <source>el tamaño pedido no es válido</source>
        <translation>the requested size is not valid</translation>
    </message>
    <message>
        <source>no se encuentra el archivo</source>
        <translation>the file cannot be found</translation>
    </message>
    <message>
        <source>no se puede abrir el archivo (no hay permiso para leerlo o no es un archivo)</source>
        <translation>the file cannot be opened (there is no permission to read it or it is not a file)</translation>
    </message>
    <message>
        <source>el archivo está dañado o no es una imagen</source>
        <translation>the file is damaged or is not a picture</translation>
    </message>
    <message>
        <source>el disco está lleno</source>
        <translation>the disk is full</translation>
    </message>
    <message>
        <source>no se puede escribir en su carpeta</source>
        <translation>its folder cannot be written to</translation>
    </message>
    <message>
        <source>Tamaño de destino no válido (%1×%2) para %3.</source>
        <translation>Target size not valid (%1×%2) for %3.</translation>
    </message>
    <message>
        <source>no es un archivo</source>
        <translation>it is not a file</translation>
    </message>
    <message>
        <source>No se puede convertir la imagen a JPEG.</source>
        <translation>Cannot convert the picture to JPEG.</translation>
    </message>
</context>
<context>
    <name>image::PicturePool</name>
    <message>
        <source>Tamaño de miniatura no válido para %1.</source>
        <translation>Thumbnail size not valid for %1.</translation>
    </message>
</context>
<context>
    <name>mail::XdgEmailClient</name>
    <message>
        <source>No se ha podido abrir el programa de correo. Compruebe que hay un programa de correo instalado y configurado como predeterminado en este equipo.</source>
        <translation>The e-mail program could not be opened. Check that an e-mail program is installed and set as the default on this computer.</translation>
    </message>
</context>
<context>
    <name>mysql::BulkRows</name>
    <message>
        <source>Una fila trae más de %1 valores</source>
        <translation>A row has more than %1 values</translation>
    </message>
    <message>
        <source>La sentencia espera %1 valores y una fila trae %2</source>
        <translation>The statement expects %1 values and a row has %2</translation>
    </message>
</context>
<context>
    <name>mysql::Connection</name>
    <message>
        <source>Sin memoria para la conexión</source>
        <translation>Out of memory for the connection</translation>
    </message>
    <message>
        <source>La sentencia espera %1 valores y recibió %2</source>
        <translation>The statement expects %1 values and received %2</translation>
    </message>
    <message>
        <source>La sentencia espera %1 valores y una fila trae %2</source>
        <translation>The statement expects %1 values and a row has %2</translation>
    </message>
    <message>
        <source>La sentencia espera %1 valores y las filas traen %2</source>
        <translation>The statement expects %1 values and the rows have %2</translation>
    </message>
</context>
<context>
    <name>orb::ActividadModel</name>
    <message>
        <source>F4 o Ctrl+Intro en la celda: elegir cliente</source>
        <translation>F4 or Ctrl+Enter in the cell: choose a client</translation>
    </message>
    <message>
        <source>Fecha</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>CodCliente</source>
        <translation>Client ref.</translation>
    </message>
    <message>
        <source>Cliente</source>
        <translation>Client</translation>
    </message>
    <message>
        <source>Actividad</source>
        <translation>Activity</translation>
    </message>
    <message>
        <source>Agente</source>
        <translation>Agent</translation>
    </message>
    <message>
        <source>Actividades, línea %1: falta la fecha.</source>
        <translation>Activity log, line %1: the date is missing.</translation>
    </message>
    <message>
        <source>Actividades, línea %1: &quot;%2&quot; no es una fecha válida (dd/mm/aaaa).</source>
        <translation>Activity log, line %1: &quot;%2&quot; is not a valid date (dd/mm/yyyy).</translation>
    </message>
</context>
<context>
    <name>orb::AvisoCoincidencias</name>
    <message>
        <source>Clientes con propiedades nuevas</source>
        <translation>Clients with new matches</translation>
    </message>
    <message>
        <source>Clientes con propie&amp;dades nuevas</source>
        <translation>Clients with new &amp;matches</translation>
    </message>
    <message>
        <source>Ningún cliente en espera tiene propiedades nuevas que encajen.</source>
        <translation>No waiting client has new matching properties.</translation>
    </message>
    <message numerus="yes">
        <source>%n clientes en espera tienen propiedades nuevas que encajan.</source>
        <translation>
            <numerusform>%n waiting client has new matching properties.</numerusform>
            <numerusform>%n waiting clients have new matching properties.</numerusform>
        </translation>
    </message>
    <message>
        <source>Buscando clientes con propiedades nuevas…</source>
        <translation>Looking for clients with new matches…</translation>
    </message>
</context>
<context>
    <name>orb::AvisosCambios</name>
    <message>
        <source>No se puede leer la versión de los datos: %1</source>
        <translation>Cannot read the data&apos;s version: %1</translation>
    </message>
    <message>
        <source>No se puede abrir la conexión que recibe los avisos de otros puestos (%1); se seguirá intentando.</source>
        <translation>Cannot open the connection that receives other seats&apos; notices (%1); it will keep trying.</translation>
    </message>
    <message>
        <source>Se reciben de nuevo los avisos de otros puestos.</source>
        <translation>Other seats&apos; notices are received again.</translation>
    </message>
    <message>
        <source>Se ha perdido la conexión que recibe los avisos de otros puestos (%1); se volverá a abrir.</source>
        <translation>The connection that receives other seats&apos; notices was lost (%1); it will be opened again.</translation>
    </message>
    <message>
        <source>Aviso de otro puesto sin tabla: %1</source>
        <translation>Notice from another seat without a table: %1</translation>
    </message>
</context>
<context>
    <name>orb::CajaBusquedaRapida</name>
    <message>
        <source>Propiedades</source>
        <translation>Properties</translation>
    </message>
    <message>
        <source>Propietarios</source>
        <translation>Owners</translation>
    </message>
    <message>
        <source>Clientes</source>
        <translation>Clients</translation>
    </message>
    <message>
        <source>Propiedad: %1</source>
        <translation>Property: %1</translation>
    </message>
    <message>
        <source>Propietario: %1</source>
        <translation>Owner: %1</translation>
    </message>
    <message>
        <source>Cliente: %1</source>
        <translation>Client: %1</translation>
    </message>
    <message>
        <source>Buscar (Ctrl+F)</source>
        <translation>Find (Ctrl+F)</translation>
    </message>
    <message>
        <source>Búsqueda rápida: referencia, dirección, nombre, teléfono, e-mail o DNI</source>
        <translation>Quick search: reference, address, name, telephone, e-mail or ID number (DNI)</translation>
    </message>
    <message>
        <source>Búsqueda rápida</source>
        <translation>Quick search</translation>
    </message>
    <message>
        <source>Resultados de la búsqueda rápida</source>
        <translation>Quick search results</translation>
    </message>
    <message>
        <source>buscar</source>
        <translation>search</translation>
    </message>
    <message>
        <source>No se ha podido realizar la búsqueda.</source>
        <translation>The search could not be run.</translation>
    </message>
    <message>
        <source>No se ha encontrado nada.</source>
        <translation>Nothing found.</translation>
    </message>
    <message>
        <source>Abiertos últimamente</source>
        <translation>Recently opened</translation>
    </message>
    <message>
        <source>Alquiler</source>
        <translation>Rental</translation>
    </message>
    <message>
        <source>Venta</source>
        <translation>Sale</translation>
    </message>
</context>
<context>
    <name>orb::DelegadoCliente</name>
    <message>
        <source>Cliente</source>
        <translation>Client</translation>
    </message>
    <message>
        <source>Elegir cliente (F4 o Ctrl+Intro)</source>
        <translation>Choose a client (F4 or Ctrl+Enter)</translation>
    </message>
    <message>
        <source>Elegir cliente</source>
        <translation>Choose a client</translation>
    </message>
</context>
<context>
    <name>orb::DialogoConsulta</name>
    <message>
        <source>&amp;Aceptar</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancelar</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>orb::ExportacionPortales</name>
    <message>
        <source>Herramientas &gt; Configuración &gt; Exportación Web &gt; Portales</source>
        <translation>Tools &gt; Settings &gt; Web export &gt; Property portals</translation>
    </message>
    <message>
        <source>El tamaño de las fotos para portales no es válido: corríjalo en %1 (Anchura y Altura foto portales). No se ha publicado nada.</source>
        <translation>The size of the portal photos is not valid: correct it in %1 (Portal photo width and height). Nothing has been published.</translation>
    </message>
    <message>
        <source>El máximo de propiedades rechazadas no es un porcentaje entre 0 y 100: corríjalo en %1. No se ha publicado nada.</source>
        <translation>The maximum of rejected properties is not a percentage between 0 and 100: correct it in %1. Nothing has been published.</translation>
    </message>
    <message>
        <source>Dirección de las fotos en la web: «%1» no es una dirección http:// o https:// completa; corríjala en %2. No se ha publicado nada.</source>
        <translation>Photos&apos; web address: “%1” is not a complete http:// or https:// address; correct it in %2. Nothing has been published.</translation>
    </message>
    <message>
        <source>Falta la Dirección de las fotos en la web (%1): las propiedades se publican sin fotos.</source>
        <translation>The photos&apos; web address is missing (%1): the properties are published without photos.</translation>
    </message>
    <message>
        <source>No se ha podido escribir el fichero para portales %1: %2. Se mantiene el fichero anterior.</source>
        <translation>The portal file %1 could not be written: %2. The previous file is kept.</translation>
    </message>
    <message>
        <source>error de escritura</source>
        <translation>write error</translation>
    </message>
    <message>
        <source>no se ha podido guardar en el disco</source>
        <translation>it could not be saved to disk</translation>
    </message>
    <message>
        <source>al leerlo de nuevo, %1</source>
        <translation>on reading it back, %1</translation>
    </message>
    <message>
        <source>al leerlo de nuevo tiene %1 propiedades en lugar de %2</source>
        <translation>on reading it back it holds %1 properties instead of %2</translation>
    </message>
    <message>
        <source>Iniciando exportación a portales ...</source>
        <translation>Starting export to property portals ...</translation>
    </message>
    <message>
        <source>La carpeta %1 no está dentro de la instalación; no se ha publicado nada.</source>
        <translation>The folder %1 is not inside the installation; nothing has been published.</translation>
    </message>
    <message>
        <source>No se puede crear la carpeta %1; no se ha publicado nada.</source>
        <translation>The folder %1 cannot be created; nothing has been published.</translation>
    </message>
    <message>
        <source>No hay ninguna propiedad marcada para el web y los portales; se mantiene el fichero anterior.</source>
        <translation>No property is marked for the website and the portals; the previous file is kept.</translation>
    </message>
    <message>
        <source>- La propiedad %1 no se publica: %2</source>
        <translation>- Property %1 is not published: %2</translation>
    </message>
    <message>
        <source>sin código</source>
        <translation>without a reference</translation>
    </message>
    <message>
        <source>Se rechazan %1 de %2 propiedades, más del %3 %: no se ha publicado nada y los portales siguen leyendo el fichero anterior.</source>
        <translation>%1 of %2 properties are rejected, more than %3 %: nothing has been published and the portals keep reading the previous file.</translation>
    </message>
    <message>
        <source>Ninguna propiedad se puede publicar; se mantiene el fichero anterior.</source>
        <translation>No property can be published; the previous file is kept.</translation>
    </message>
    <message>
        <source>Portales, foto %1: %2 (%3)</source>
        <translation>Portals, photo %1: %2 (%3)</translation>
    </message>
    <message>
        <source>- No se ha podido preparar la foto %1 para portales: %2. %3</source>
        <translation>- The photo %1 could not be prepared for the portals: %2. %3</translation>
    </message>
    <message>
        <source>Se mantiene la anterior.</source>
        <translation>The previous one is kept.</translation>
    </message>
    <message>
        <source>La propiedad se publica sin ella.</source>
        <translation>The property is published without it.</translation>
    </message>
    <message>
        <source>Exportación a portales finalizada: %1 publicadas, %2 rechazadas.</source>
        <translation>Export to property portals finished: %1 published, %2 rejected.</translation>
    </message>
    <message>
        <source>Exportación a portales cancelada: los portales siguen leyendo el fichero anterior.</source>
        <translation>Export to property portals cancelled: the portals keep reading the previous file.</translation>
    </message>
    <message>
        <source>leer las propiedades para portales</source>
        <translation>read the properties for the portals</translation>
    </message>
    <message>
        <source>No se han podido leer las propiedades: %1 Se mantiene el fichero anterior.</source>
        <translation>The properties could not be read: %1 The previous file is kept.</translation>
    </message>
    <message>
        <source>No hay servidor web en Herramientas &gt; Configuración &gt; Exportación Web: el fichero para portales queda en %1 sin subir.</source>
        <translation>There is no web server in Tools &gt; Settings &gt; Web export: the portal file stays in %1 without being uploaded.</translation>
    </message>
</context>
<context>
    <name>orb::ExportacionWeb</name>
    <message>
        <source>Exportación web, foto %1 de la propiedad %2: %3 (%4)</source>
        <translation>Web export, photo %1 of property %2: %3 (%4)</translation>
    </message>
    <message>
        <source>- No se ha podido procesar la foto %1 de la propiedad %2: %3. %4</source>
        <translation>- Photo %1 of property %2 could not be processed: %3. %4</translation>
    </message>
    <message>
        <source>Se mantiene la foto publicada antes.</source>
        <translation>The photo published before is kept.</translation>
    </message>
    <message>
        <source>La propiedad se publica sin ella.</source>
        <translation>The property is published without it.</translation>
    </message>
    <message>
        <source>Falta la tabla %1 en la base de datos del web «%2»; no se ha cambiado nada.</source>
        <translation>The table %1 is missing from the web database “%2”; nothing has been changed.</translation>
    </message>
    <message>
        <source>La tabla %1 del web usa el motor %2, que no admite transacciones; no se ha cambiado nada. Conviértala con ALTER TABLE %1 ENGINE=InnoDB y vuelva a exportar.</source>
        <translation>The web table %1 uses the %2 engine, which does not support transactions; nothing has been changed. Convert it with ALTER TABLE %1 ENGINE=InnoDB and export again.</translation>
    </message>
    <message>
        <source>desconocido</source>
        <translation>unknown</translation>
    </message>
    <message>
        <source>- Procesando foto %1</source>
        <translation>- Processing photo %1</translation>
    </message>
    <message>
        <source>Borrando antiguas propiedades en venta...</source>
        <translation>Deleting old properties for sale...</translation>
    </message>
    <message>
        <source>Borrando antiguas propiedades en alquiler...</source>
        <translation>Deleting old properties for rent...</translation>
    </message>
    <message>
        <source>Propiedades borradas.</source>
        <translation>Properties deleted.</translation>
    </message>
    <message>
        <source>Exportando propiedad %1</source>
        <translation>Exporting property %1</translation>
    </message>
    <message numerus="yes">
        <source>Se han exportado %n propiedades.</source>
        <translation>
            <numerusform>%n property exported.</numerusform>
            <numerusform>%n properties exported.</numerusform>
        </translation>
    </message>
    <message>
        <source>Iniciando exportación ...</source>
        <translation>Starting export ...</translation>
    </message>
    <message>
        <source>Falta el servidor web o su base de datos: póngalos en Herramientas &gt; Configuración &gt; Exportación Web &gt; Servidor y BBDD (WEB / SERVIDOR, WEB / BASEDATOS).</source>
        <translation>The web server or its database is missing: enter them in Tools &gt; Settings &gt; Web export &gt; Server and Database (WEB / SERVIDOR, WEB / BASEDATOS).</translation>
    </message>
    <message>
        <source>Los tamaños de las fotos del web no son válidos: corríjalos en Herramientas &gt; Configuración &gt; Exportación Web &gt; Generación de Fotos (WEB / FOTOANCHURA, FOTOALTURA, THUMBANCHURA, THUMBALTURA).</source>
        <translation>The sizes of the web photos are not valid: correct them in Tools &gt; Settings &gt; Web export &gt; Photo generation (WEB / FOTOANCHURA, FOTOALTURA, THUMBANCHURA, THUMBALTURA).</translation>
    </message>
    <message>
        <source>La carpeta %1 no está dentro de la instalación; no se ha borrado nada.</source>
        <translation>The folder %1 is not inside the installation; nothing has been deleted.</translation>
    </message>
    <message>
        <source>Exportación cancelada: los datos del web ya estaban actualizados; no se suben las fotos.</source>
        <translation>Export cancelled: the web data had already been updated; the photos are not uploaded.</translation>
    </message>
    <message>
        <source>Exportación finalizada.</source>
        <translation>Export finished.</translation>
    </message>
    <message>
        <source>Exportación cancelada: el web no ha cambiado.</source>
        <translation>Export cancelled: the website has not changed.</translation>
    </message>
    <message>
        <source>La exportación no se ha completado: el web conserva el listado anterior.</source>
        <translation>The export was not completed: the website keeps the previous listings.</translation>
    </message>
    <message>
        <source>No se sabe si el servidor web ha guardado el listado nuevo: vuelva a exportar.</source>
        <translation>It is not known whether the web server saved the new listings: export again.</translation>
    </message>
    <message>
        <source>leer las propiedades para el web</source>
        <translation>read the properties for the website</translation>
    </message>
    <message>
        <source>No se han podido leer las propiedades: %1</source>
        <translation>The properties could not be read: %1</translation>
    </message>
    <message>
        <source>Iniciando subida ...</source>
        <translation>Starting upload ...</translation>
    </message>
    <message>
        <source>Subida cancelada.</source>
        <translation>Upload cancelled.</translation>
    </message>
    <message>
        <source>No se ha podido ejecutar rsync: %1</source>
        <translation>rsync could not be run: %1</translation>
    </message>
    <message>
        <source>La subida ha fallado: rsync ha terminado con el código %1.</source>
        <translation>The upload failed: rsync ended with code %1.</translation>
    </message>
    <message>
        <source>Subida finalizada.</source>
        <translation>Upload finished.</translation>
    </message>
</context>
<context>
    <name>orb::FichaPersona</name>
    <message>
        <source>Imprimir Ficha</source>
        <translation>Print record sheet</translation>
    </message>
    <message>
        <source>Fusionar con…</source>
        <translation>Merge with…</translation>
    </message>
    <message>
        <source>Alquiler</source>
        <translation>Rental</translation>
    </message>
    <message>
        <source>&amp;Fecha Alta:</source>
        <translation>&amp;Date added:</translation>
    </message>
    <message>
        <source>Enviar correo</source>
        <translation>Send email</translation>
    </message>
    <message>
        <source>&amp;Email:</source>
        <translation>Emai&amp;l:</translation>
    </message>
    <message>
        <source>buscar duplicados</source>
        <translation>look for duplicates</translation>
    </message>
    <message>
        <source>&amp;Abrir el elegido</source>
        <translation>&amp;Open the chosen one</translation>
    </message>
</context>
<context>
    <name>orb::FotosPropiedad</name>
    <message>
        <source>Foto %1</source>
        <translation>Photo %1</translation>
    </message>
    <message>
        <source>Archivo de la foto %1</source>
        <translation>File of photo %1</translation>
    </message>
    <message>
        <source>Texto de la foto %1</source>
        <translation>Caption of photo %1</translation>
    </message>
    <message>
        <source>Texto de la foto</source>
        <translation>Photo caption</translation>
    </message>
    <message>
        <source>Cargar Foto</source>
        <translation>Load photo</translation>
    </message>
    <message>
        <source>Cargar foto %1</source>
        <translation>Load photo %1</translation>
    </message>
    <message>
        <source>Borrar Foto</source>
        <translation>Delete photo</translation>
    </message>
    <message>
        <source>Borrar foto %1</source>
        <translation>Delete photo %1</translation>
    </message>
    <message>
        <source>Cargar fotografía</source>
        <translation>Load photograph</translation>
    </message>
    <message>
        <source>Imágenes (*.bmp;*.jpg; *.jpeg)|*.bmp;*.jpg;*.jpeg</source>
        <translation>Images (*.bmp;*.jpg; *.jpeg)|*.bmp;*.jpg;*.jpeg</translation>
    </message>
    <message>
        <source>El archivo &quot;%1&quot; no es una imagen que se pueda mostrar.</source>
        <translation>The file &quot;%1&quot; is not an image that can be shown.</translation>
    </message>
    <message>
        <source>No se pudo copiar la foto %1 (&quot;%2&quot;) a la carpeta de fotos: %3</source>
        <translation>Photo %1 (&quot;%2&quot;) could not be copied to the photo folder: %3</translation>
    </message>
    <message>
        <source>No se ha podido borrar la marca de fotos %1: %2</source>
        <translation>The photo token %1 could not be deleted: %2</translation>
    </message>
    <message>
        <source>La propiedad se ha guardado, pero no se pudo colocar en la carpeta de fotos: %1.</source>
        <translation>The property has been saved, but these could not be put in the photo folder: %1.</translation>
    </message>
    <message>
        <source>Carpeta de fotos: %1, %2.</source>
        <translation>Photo folder: %1, %2.</translation>
    </message>
    <message numerus="yes">
        <source>%n fotos de una grabación interrumpida colocadas</source>
        <translation>
            <numerusform>%n photo of an interrupted save put in place</numerusform>
            <numerusform>%n photos of an interrupted save put in place</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n archivos temporales borrados</source>
        <translation>
            <numerusform>%n temporary file deleted</numerusform>
            <numerusform>%n temporary files deleted</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>orb::PanelPropietario</name>
    <message>
        <source>Nombre:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Dirección:</source>
        <translation>Address:</translation>
    </message>
    <message>
        <source>Localidad:</source>
        <translation>Town:</translation>
    </message>
    <message>
        <source>Provincia:</source>
        <translation>Province:</translation>
    </message>
    <message>
        <source>CP:</source>
        <translation>Postcode:</translation>
    </message>
    <message>
        <source>Teléfono:</source>
        <translation>Phone:</translation>
    </message>
    <message>
        <source>Móvil:</source>
        <translation>Mobile:</translation>
    </message>
    <message>
        <source>Fax:</source>
        <translation>Fax:</translation>
    </message>
    <message>
        <source>Pasap.:</source>
        <translation>Passport:</translation>
    </message>
    <message>
        <source>DNI:</source>
        <translation>DNI:</translation>
    </message>
    <message>
        <source>NIE:</source>
        <translation>NIE:</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>Email:</translation>
    </message>
    <message>
        <source>Datos del Propietario</source>
        <translation>Owner details</translation>
    </message>
    <message>
        <source>Nuevo</source>
        <translation>New</translation>
    </message>
    <message>
        <source>Existente</source>
        <translation>Existing</translation>
    </message>
    <message>
        <source>Nuevo propietario</source>
        <translation>New owner</translation>
    </message>
    <message>
        <source>Propietario existente</source>
        <translation>Existing owner</translation>
    </message>
</context>
<context>
    <name>orb::PreferenciasCliente</name>
    <message>
        <source>Pestañas del cliente</source>
        <translation>Client tabs</translation>
    </message>
    <message>
        <source>&amp;Datos</source>
        <translation>&amp;Details</translation>
    </message>
    <message>
        <source>Presupuesto mín&amp;imo:</source>
        <translation>M&amp;inimum budget:</translation>
    </message>
    <message>
        <source>€  (el máximo es el Presupuesto de la ficha)</source>
        <translation>€  (the maximum is the record&apos;s Budget)</translation>
    </message>
    <message>
        <source>Dormitorios mínimo&amp;s:</source>
        <translation>Minimum bedroom&amp;s:</translation>
    </message>
    <message>
        <source>Imprescindible</source>
        <translation>Must have</translation>
    </message>
    <message>
        <source>Pisci&amp;na</source>
        <translation>&amp;Pool</translation>
    </message>
    <message>
        <source>Gara&amp;je</source>
        <translation>&amp;Garage</translation>
    </message>
    <message>
        <source>Ascens&amp;or</source>
        <translation>&amp;Lift</translation>
    </message>
    <message>
        <source>Terra&amp;za</source>
        <translation>&amp;Terrace</translation>
    </message>
    <message>
        <source>Localidades y zonas deseadas</source>
        <translation>Wanted towns and areas</translation>
    </message>
    <message>
        <source>&amp;Localidad deseada:</source>
        <translation>Wanted t&amp;own:</translation>
    </message>
    <message>
        <source>Zona dese&amp;ada:</source>
        <translation>Wanted &amp;area:</translation>
    </message>
    <message>
        <source>Añadir &amp;zona</source>
        <translation>Add ar&amp;ea</translation>
    </message>
    <message>
        <source>Añadir zona</source>
        <translation>Add area</translation>
    </message>
    <message>
        <source>&amp;Quitar zona</source>
        <translation>&amp;Remove area</translation>
    </message>
    <message>
        <source>Quitar zona</source>
        <translation>Remove area</translation>
    </message>
    <message>
        <source>Zonas deseadas</source>
        <translation>Wanted areas</translation>
    </message>
    <message>
        <source>Localidad</source>
        <translation>Town</translation>
    </message>
    <message>
        <source>Zona</source>
        <translation>Area</translation>
    </message>
    <message>
        <source>Esquina de las zonas deseadas</source>
        <translation>Corner of the wanted areas</translation>
    </message>
    <message>
        <source>&amp;Preferencias</source>
        <translation>Pre&amp;ferences</translation>
    </message>
    <message>
        <source>(toda la localidad)</source>
        <translation>(the whole town)</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; es mayor que el %3 (%4): el mínimo no puede superar al máximo.</source>
        <translation>%1: &quot;%2&quot; is greater than the %3 (%4): the minimum cannot exceed the maximum.</translation>
    </message>
</context>
<context>
    <name>orb::RecordWindow</name>
    <message>
        <source>Primer registro</source>
        <translation>First record</translation>
    </message>
    <message>
        <source>Anterior registro</source>
        <translation>Previous record</translation>
    </message>
    <message>
        <source>Siguiente registro</source>
        <translation>Next record</translation>
    </message>
    <message>
        <source>Último registro</source>
        <translation>Last record</translation>
    </message>
    <message>
        <source>Añadir registro</source>
        <translation>Add record</translation>
    </message>
    <message>
        <source>Editar registro</source>
        <translation>Edit record</translation>
    </message>
    <message>
        <source>Borrar registro</source>
        <translation>Delete record</translation>
    </message>
    <message>
        <source>Aceptar</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Cerrar</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Aviso de otro puesto</source>
        <translation>Notice from another seat</translation>
    </message>
    <message>
        <source>Registro guardado</source>
        <translation>Record saved</translation>
    </message>
    <message>
        <source>Ctrl+Inicio</source>
        <translation>Ctrl+Home</translation>
    </message>
    <message>
        <source>Re Pág</source>
        <translation>Page Up</translation>
    </message>
    <message>
        <source>Av Pág</source>
        <translation>Page Down</translation>
    </message>
    <message>
        <source>Ctrl+Fin</source>
        <translation>Ctrl+End</translation>
    </message>
    <message>
        <source>Ctrl+S o Ctrl+Intro</source>
        <translation>Ctrl+S or Ctrl+Enter</translation>
    </message>
    <message>
        <source>Se están añadiendo/modificando datos ¿desea descartar los cambios?</source>
        <translation>Data is being added or edited. Do you want to discard the changes?</translation>
    </message>
    <message>
        <source>Ningún registro</source>
        <translation>No records</translation>
    </message>
    <message>
        <source>Registro %1 de %2</source>
        <translation>Record %1 of %2</translation>
    </message>
    <message>
        <source>Número</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>Código completo</source>
        <translation>Full reference</translation>
    </message>
    <message>
        <source>&amp;Código:</source>
        <translation>&amp;Reference:</translation>
    </message>
    <message>
        <source>Código de oficina</source>
        <translation>Office code</translation>
    </message>
    <message>
        <source>%1 (código)</source>
        <translation>%1 (code)</translation>
    </message>
</context>
<context>
    <name>orb::VentanaBusqueda</name>
    <message>
        <source>Buscar</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>Nueva Búsqueda</source>
        <translation>New search</translation>
    </message>
    <message>
        <source>Ir a</source>
        <translation>Go to</translation>
    </message>
    <message>
        <source>Imprimir Listado</source>
        <translation>Print listing report</translation>
    </message>
    <message>
        <source>Primer registro</source>
        <translation>First record</translation>
    </message>
    <message>
        <source>Anterior registro</source>
        <translation>Previous record</translation>
    </message>
    <message>
        <source>Siguiente registro</source>
        <translation>Next record</translation>
    </message>
    <message>
        <source>Último registro</source>
        <translation>Last record</translation>
    </message>
    <message>
        <source>Cerrar</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Actualizar</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>Resultados desactualizados</source>
        <translation>Results out of date</translation>
    </message>
    <message>
        <source>Resultado de la búsqueda</source>
        <translation>Search result</translation>
    </message>
    <message>
        <source>Esquina del resultado</source>
        <translation>Result corner</translation>
    </message>
    <message>
        <source>Intro o F3</source>
        <translation>Enter or F3</translation>
    </message>
    <message>
        <source>Intro en la tabla</source>
        <translation>Enter in the table</translation>
    </message>
    <message>
        <source>%1 desde</source>
        <translation>%1 from</translation>
    </message>
    <message>
        <source>%1 hasta</source>
        <translation>%1 to</translation>
    </message>
    <message>
        <source>a</source>
        <comment>between the two boxes of a range</comment>
        <translation>to</translation>
    </message>
    <message>
        <source>%1 (código)</source>
        <translation>%1 (code)</translation>
    </message>
    <message>
        <source>Ordenado por:</source>
        <translation>Sort by:</translation>
    </message>
    <message>
        <source>realizar la búsqueda</source>
        <translation>run the search</translation>
    </message>
    <message>
        <source>No se ha podido realizar la búsqueda.</source>
        <translation>The search could not be run.</translation>
    </message>
    <message>
        <source>actualizar el resultado de la búsqueda</source>
        <translation>refresh the search result</translation>
    </message>
    <message>
        <source>No se ha podido actualizar el resultado.</source>
        <translation>The result could not be refreshed.</translation>
    </message>
    <message>
        <source>Error al leer el resultado de la búsqueda: %1</source>
        <translation>Error reading the search result: %1</translation>
    </message>
    <message>
        <source>No se ha podido realizar la búsqueda.
Solo se muestran las filas leídas; los detalles se han guardado en Orbalia.log.</source>
        <translation>The search could not be run.
Only the rows read so far are shown; the details have been saved in Orbalia.log.</translation>
    </message>
</context>
<context>
    <name>orb::clsManten</name>
    <message>
        <source>abrir los datos</source>
        <translation>open the data</translation>
    </message>
    <message>
        <source>buscar el registro</source>
        <translation>find the record</translation>
    </message>
    <message>
        <source>pulsar el botón de primer registro</source>
        <translation>press the First record button</translation>
    </message>
    <message>
        <source>pulsar el botón de último registro</source>
        <translation>press the Last record button</translation>
    </message>
    <message>
        <source>pulsar el botón de anterior registro</source>
        <translation>press the Previous record button</translation>
    </message>
    <message>
        <source>pulsar el botón de siguiente registro</source>
        <translation>press the Next record button</translation>
    </message>
    <message>
        <source>pulsar el botón de añadir</source>
        <translation>press the Add button</translation>
    </message>
    <message>
        <source>pulsar el botón de editar</source>
        <translation>press the Edit button</translation>
    </message>
    <message>
        <source>pulsar el botón de cancelar</source>
        <translation>press the Cancel button</translation>
    </message>
    <message>
        <source>¿Seguro que desea borrar este registro?</source>
        <translation>Are you sure you want to delete this record?</translation>
    </message>
    <message>
        <source>pulsar el botón de borrar</source>
        <translation>press the Delete button</translation>
    </message>
    <message>
        <source>Se están añadiendo/modificando datos ¿desea cerrar de todas maneras?</source>
        <translation>Data is being added or edited. Close anyway?</translation>
    </message>
    <message>
        <source>Se están añadiendo/modificando datos ¿desea guardarlos antes de mostrar otro registro?</source>
        <translation>Data is being added or edited. Save it before showing another record?</translation>
    </message>
    <message>
        <source>Se ha producido el error (%1 - %2) al %3.</source>
        <translation>An error (%1 - %2) occurred while trying to %3.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>pulsar el botón de aceptar</source>
        <translation>press the OK button</translation>
    </message>
    <message>
        <source>Otro puesto ha modificado este registro mientras lo editaba. No se ha guardado nada.

¿Desea volver a leerlo? Se perderá lo que ha escrito; si responde No, sigue en la ventana para que lo copie o lo cancele.</source>
        <translation>Another seat changed this record while you were editing it. Nothing has been saved.

Do you want to read it again? What you typed will be lost; if you answer No, it stays in the window for you to copy or cancel.</translation>
    </message>
    <message>
        <source>leer el cambio de otro puesto</source>
        <translation>read another seat&apos;s change</translation>
    </message>
    <message>
        <source>El registro que se mostraba se ha borrado desde otro puesto.</source>
        <translation>The record shown has been deleted from another seat.</translation>
    </message>
    <message>
        <source>Otro puesto ha cambiado este registro mientras lo editaba; al aceptar se le preguntará qué hacer.</source>
        <translation>Another seat changed this record while you were editing it; on OK you will be asked what to do.</translation>
    </message>
    <message>
        <source>Otro puesto ha borrado este registro mientras lo editaba; no se podrá guardar: cancele la edición.</source>
        <translation>Another seat deleted this record while you were editing it; it cannot be saved: cancel the edit.</translation>
    </message>
</context>
<context>
    <name>orb::dlgDuplicados</name>
    <message>
        <source>Posible duplicado</source>
        <translation>Possible duplicate</translation>
    </message>
    <message>
        <source>Registros parecidos</source>
        <translation>Similar records</translation>
    </message>
    <message>
        <source>&amp;Guardar de todos modos</source>
        <translation>&amp;Save anyway</translation>
    </message>
    <message>
        <source>Guardar de todos modos</source>
        <translation>Save anyway</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
    <message numerus="yes">
        <source>Ya hay %n registros que pueden ser la misma persona:</source>
        <translation>
            <numerusform>There is already a record that may be the same person:</numerusform>
            <numerusform>There are already %n records that may be the same person:</numerusform>
        </translation>
    </message>
    <message>
        <source>Código</source>
        <translation>Reference</translation>
    </message>
    <message>
        <source>Nombre</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Teléfonos</source>
        <translation>Phones</translation>
    </message>
    <message>
        <source>E-mail</source>
        <translation>Email</translation>
    </message>
    <message>
        <source>Oficina</source>
        <translation>Office</translation>
    </message>
    <message>
        <source>Coincide en</source>
        <translation>Matches on</translation>
    </message>
    <message numerus="yes">
        <source>Ya hay %n propiedades disponibles en esta dirección:</source>
        <translation>
            <numerusform>There is already another available property at this address:</numerusform>
            <numerusform>There are already %n available properties at this address:</numerusform>
        </translation>
    </message>
    <message>
        <source>Dirección</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>Propietario</source>
        <translation>Owner</translation>
    </message>
    <message>
        <source>&amp;Abrir la elegida</source>
        <translation>&amp;Open the chosen one</translation>
    </message>
</context>
<context>
    <name>orb::dlgFusion</name>
    <message>
        <source>(vacío)</source>
        <translation>(empty)</translation>
    </message>
    <message>
        <source>Fusionar %1 con %2</source>
        <translation>Merge %1 with %2</translation>
    </message>
    <message>
        <source>Elija, campo por campo, el valor que se queda. Las propiedades, actividades y coincidencias de %2 pasan a %1, los comentarios se unen y %2 se elimina.</source>
        <translation>Choose, field by field, the value to keep. The properties, activity log and matches of %2 move to %1, the comments are joined and %2 is deleted.</translation>
    </message>
    <message>
        <source>&lt;b&gt;%1 (se queda)&lt;/b&gt;</source>
        <translation>&lt;b&gt;%1 (kept)&lt;/b&gt;</translation>
    </message>
    <message>
        <source>&lt;b&gt;%1 (se elimina)&lt;/b&gt;</source>
        <translation>&lt;b&gt;%1 (deleted)&lt;/b&gt;</translation>
    </message>
    <message>
        <source>%1 de %2: %3</source>
        <translation>%1 of %2: %3</translation>
    </message>
    <message>
        <source>Campos</source>
        <translation>Fields</translation>
    </message>
    <message>
        <source>&amp;Fusionar</source>
        <translation>&amp;Merge</translation>
    </message>
    <message>
        <source>Fusionar</source>
        <translation>Merge</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>orb::frmAbout</name>
    <message>
        <source>Tel. 952 000 000</source>
        <translation>Tel. 952 000 000</translation>
    </message>
    <message>
        <source>Acerca de %1</source>
        <translation>About %1</translation>
    </message>
    <message>
        <source>Logotipo de %1</source>
        <translation>%1 logo</translation>
    </message>
    <message>
        <source>&amp;Aceptar</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Aceptar</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>orb::frmAgenda</name>
    <message>
        <source>Agenda de visitas</source>
        <translation>Viewings diary</translation>
    </message>
    <message>
        <source>&lt; &amp;Anterior</source>
        <translation>&lt; &amp;Previous</translation>
    </message>
    <message>
        <source>Anterior</source>
        <translation>Previous</translation>
    </message>
    <message>
        <source>Día</source>
        <translation>Day</translation>
    </message>
    <message>
        <source>&amp;Hoy</source>
        <translation>&amp;Today</translation>
    </message>
    <message>
        <source>Hoy</source>
        <translation>Today</translation>
    </message>
    <message>
        <source>&amp;Siguiente &gt;</source>
        <translation>&amp;Next &gt;</translation>
    </message>
    <message>
        <source>Siguiente</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>&amp;Día</source>
        <translation>&amp;Day</translation>
    </message>
    <message>
        <source>Vista de un día</source>
        <translation>Day view</translation>
    </message>
    <message>
        <source>Se&amp;mana</source>
        <translation>&amp;Week</translation>
    </message>
    <message>
        <source>Vista de la semana</source>
        <translation>Week view</translation>
    </message>
    <message>
        <source>A&amp;gente:</source>
        <translation>A&amp;gent:</translation>
    </message>
    <message>
        <source>Agente</source>
        <translation>Agent</translation>
    </message>
    <message>
        <source>&amp;Oficina:</source>
        <translation>&amp;Office:</translation>
    </message>
    <message>
        <source>Oficina</source>
        <translation>Office</translation>
    </message>
    <message>
        <source>Visitas del día</source>
        <translation>The day&apos;s viewings</translation>
    </message>
    <message>
        <source>Hora</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Propiedad</source>
        <translation>Property</translation>
    </message>
    <message>
        <source>Dirección</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>Cliente</source>
        <translation>Client</translation>
    </message>
    <message>
        <source>Estado</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Esquina de las visitas del día</source>
        <translation>Corner of the day&apos;s viewings</translation>
    </message>
    <message>
        <source>&amp;Nueva visita</source>
        <translation>New &amp;viewing</translation>
    </message>
    <message>
        <source>Nueva visita</source>
        <translation>New viewing</translation>
    </message>
    <message>
        <source>A&amp;brir</source>
        <translation>Op&amp;en</translation>
    </message>
    <message>
        <source>Abrir visita</source>
        <translation>Open viewing</translation>
    </message>
    <message>
        <source>&amp;Mover…</source>
        <translation>&amp;Move…</translation>
    </message>
    <message>
        <source>Mover visita</source>
        <translation>Move viewing</translation>
    </message>
    <message>
        <source>Anu&amp;lar</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>Anular visita</source>
        <translation>Cancel viewing</translation>
    </message>
    <message>
        <source>&amp;Exportar calendario (.ics)</source>
        <translation>E&amp;xport calendar (.ics)</translation>
    </message>
    <message>
        <source>Exportar calendario</source>
        <translation>Export calendar</translation>
    </message>
    <message>
        <source>(Todos)</source>
        <translation>(All)</translation>
    </message>
    <message>
        <source>leer la agenda</source>
        <translation>read the diary</translation>
    </message>
    <message>
        <source>No se puede leer la agenda de visitas.</source>
        <translation>The viewings diary cannot be read.</translation>
    </message>
    <message>
        <source>¿Anular la visita de las %1 del %2 a la propiedad %3?</source>
        <translation>Cancel the viewing at %1 on %2 of property %3?</translation>
    </message>
    <message>
        <source>anular la visita</source>
        <translation>cancel the viewing</translation>
    </message>
    <message>
        <source>No se ha podido anular la visita.</source>
        <translation>The viewing could not be cancelled.</translation>
    </message>
    <message>
        <source>Elija un agente en la lista Agente para exportar su calendario.</source>
        <translation>Choose an agent in the Agent list to export their calendar.</translation>
    </message>
    <message>
        <source>No se ha podido escribir el calendario %1: %2.</source>
        <translation>The calendar %1 could not be written: %2.</translation>
    </message>
    <message numerus="yes">
        <source>Calendario de %1 guardado en %2 (%n visitas).

¿Quiere abrirlo ahora?</source>
        <translation>
            <numerusform>Calendar of %1 saved in %2 (%n viewing).

Do you want to open it now?</numerusform>
            <numerusform>Calendar of %1 saved in %2 (%n viewings).

Do you want to open it now?</numerusform>
        </translation>
    </message>
    <message>
        <source>exportar el calendario</source>
        <translation>export the calendar</translation>
    </message>
    <message>
        <source>No se ha podido exportar el calendario.</source>
        <translation>The calendar could not be exported.</translation>
    </message>
    <message>
        <source>A&amp;genda de visitas</source>
        <translation>Viewin&amp;gs diary</translation>
    </message>
</context>
<context>
    <name>orb::frmAgentes</name>
    <message>
        <source>Ficha de Agentes</source>
        <translation>Agent records</translation>
    </message>
    <message>
        <source>&amp;Código:</source>
        <translation>&amp;Reference:</translation>
    </message>
    <message>
        <source>&amp;Nombre:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>&amp;Oficina:</source>
        <translation>&amp;Office:</translation>
    </message>
    <message>
        <source>&amp;E-mail:</source>
        <translation>&amp;Email:</translation>
    </message>
    <message>
        <source>&amp;Usuario del servidor:</source>
        <translation>Server &amp;user:</translation>
    </message>
    <message>
        <source>&amp;Activo</source>
        <translation>&amp;Active</translation>
    </message>
    <message>
        <source>Activo</source>
        <translation>Active</translation>
    </message>
</context>
<context>
    <name>orb::frmAreas</name>
    <message>
        <source>Ficha de Areas</source>
        <translation>Area records</translation>
    </message>
    <message>
        <source>&amp;Código:</source>
        <translation>&amp;Reference:</translation>
    </message>
    <message>
        <source>&amp;Nombre:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>&amp;Localidad:</source>
        <translation>&amp;Town:</translation>
    </message>
</context>
<context>
    <name>orb::frmAsistente</name>
    <message>
        <source>Orbalia - Primera puesta en marcha</source>
        <translation>Orbalia - First start-up</translation>
    </message>
    <message>
        <source>Este puesto aún no tiene instalación. Escriba los datos de su agencia; se guardarán en la carpeta [%1].</source>
        <translation>This seat has no installation yet. Enter your agency&apos;s details; they will be saved in the folder [%1].</translation>
    </message>
    <message>
        <source>Agencia</source>
        <translation>Agency</translation>
    </message>
    <message>
        <source>&amp;Nombre de la agencia:</source>
        <translation>Agency &amp;name:</translation>
    </message>
    <message>
        <source>&amp;Código de esta oficina:</source>
        <translation>This office&apos;s &amp;code:</translation>
    </message>
    <message>
        <source>Letras y cifras, por ejemplo 01.</source>
        <translation>Letters and digits, for example 01.</translation>
    </message>
    <message>
        <source>Esta oficina es la &amp;principal</source>
        <translation>This is the &amp;main office</translation>
    </message>
    <message>
        <source>Esta oficina es la principal</source>
        <translation>This is the main office</translation>
    </message>
    <message>
        <source>Oficinas de la &amp;red:</source>
        <translation>&amp;Offices in the network:</translation>
    </message>
    <message>
        <source>Códigos de las oficinas separados por comas, el de la principal primero (por ejemplo 01,02). Vacío si la agencia tiene una sola oficina.</source>
        <translation>The offices&apos; codes separated by commas, the main office&apos;s first (for example 01,02). Empty if the agency has a single office.</translation>
    </message>
    <message>
        <source>Código de la agencia en la &amp;web:</source>
        <translation>Agency code on the &amp;web:</translation>
    </message>
    <message>
        <source>Pie del dossier</source>
        <translation>Dossier footer</translation>
    </message>
    <message>
        <source>Pi&amp;e del dossier:</source>
        <translation>Dossier &amp;footer:</translation>
    </message>
    <message>
        <source>Logotipos</source>
        <translation>Logos</translation>
    </message>
    <message>
        <source>&amp;Fondo de la ventana:</source>
        <translation>Window &amp;background:</translation>
    </message>
    <message>
        <source>Elegir fondo</source>
        <translation>Choose background</translation>
    </message>
    <message>
        <source>Fondo sencillo</source>
        <translation>Plain background</translation>
    </message>
    <message>
        <source>&amp;Logotipo del dossier:</source>
        <translation>Dossier &amp;logo:</translation>
    </message>
    <message>
        <source>Elegir logotipo</source>
        <translation>Choose logo</translation>
    </message>
    <message>
        <source>Logotipo sencillo</source>
        <translation>Plain logo</translation>
    </message>
    <message>
        <source>Dibujo sencillo con el nombre de la agencia</source>
        <translation>Plain drawing with the agency&apos;s name</translation>
    </message>
    <message>
        <source>Elegir…</source>
        <translation>Choose…</translation>
    </message>
    <message>
        <source>Sencillo</source>
        <translation>Plain</translation>
    </message>
    <message>
        <source>Un dibujo sencillo con el nombre de la agencia</source>
        <translation>A plain drawing with the agency&apos;s name</translation>
    </message>
    <message>
        <source>C&amp;rear la instalación</source>
        <translation>C&amp;reate the installation</translation>
    </message>
    <message>
        <source>Crear la instalación</source>
        <translation>Create the installation</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Imágenes (*.jpg *.jpeg *.png *.bmp)</source>
        <translation>Images (*.jpg *.jpeg *.png *.bmp)</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; no es una imagen que el programa pueda leer.</source>
        <translation>%1: &quot;%2&quot; is not an image the program can read.</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>No se puede ejecutar el instalador [%1]: %2</source>
        <translation>The installer [%1] cannot be run: %2</translation>
    </message>
    <message>
        <source>No se ha podido crear la instalación en [%1].</source>
        <translation>The installation could not be created in [%1].</translation>
    </message>
</context>
<context>
    <name>orb::frmBusClientes</name>
    <message>
        <source>Búsqueda de Clientes de Alquiler</source>
        <translation>Search rental clients</translation>
    </message>
    <message>
        <source>Búsqueda de Clientes de Venta</source>
        <translation>Search sales clients</translation>
    </message>
    <message>
        <source>Buscar Clientes</source>
        <translation>Find clients</translation>
    </message>
    <message>
        <source>Ir a Cliente</source>
        <translation>Go to client</translation>
    </message>
    <message>
        <source>Código:</source>
        <translation>Reference:</translation>
    </message>
    <message>
        <source>Tipo:</source>
        <translation>Type:</translation>
    </message>
    <message>
        <source>Presupuesto:</source>
        <translation>Budget:</translation>
    </message>
    <message>
        <source>Nombre:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Fecha:</source>
        <translation>Date:</translation>
    </message>
    <message>
        <source>Parte del texto; * sustituye a cualquier texto</source>
        <translation>Part of the text; * stands for any text</translation>
    </message>
    <message>
        <source>dd/mm/aaaa</source>
        <translation>dd/mm/yyyy</translation>
    </message>
    <message>
        <source>Código</source>
        <translation>Ref.</translation>
    </message>
    <message>
        <source>Nombre</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Fecha</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Teléfono</source>
        <translation>Telephone</translation>
    </message>
    <message>
        <source>Móvil</source>
        <translation>Mobile</translation>
    </message>
    <message>
        <source>Tipo</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Presupuesto</source>
        <translation>Budget</translation>
    </message>
</context>
<context>
    <name>orb::frmBusPropiedades</name>
    <message>
        <source>Libre</source>
        <translation>Available</translation>
    </message>
    <message>
        <source>Alquilada</source>
        <translation>Let</translation>
    </message>
    <message>
        <source>En Venta</source>
        <translation>For sale</translation>
    </message>
    <message>
        <source>Vendida</source>
        <translation>Sold</translation>
    </message>
    <message>
        <source>Stand By</source>
        <translation>Stand by</translation>
    </message>
    <message>
        <source>Búsqueda de Propiedades en Alquiler</source>
        <translation>Search properties for rent</translation>
    </message>
    <message>
        <source>Búsqueda de Propiedades en Venta</source>
        <translation>Search properties for sale</translation>
    </message>
    <message>
        <source>Buscar Propiedades</source>
        <translation>Find properties</translation>
    </message>
    <message>
        <source>Ir a Propiedad</source>
        <translation>Go to property</translation>
    </message>
    <message>
        <source>Código:</source>
        <translation>Reference:</translation>
    </message>
    <message>
        <source>Tipo:</source>
        <translation>Type:</translation>
    </message>
    <message>
        <source>Localidad:</source>
        <translation>Town:</translation>
    </message>
    <message>
        <source>Dirección:</source>
        <translation>Address:</translation>
    </message>
    <message>
        <source>Estado:</source>
        <translation>Status:</translation>
    </message>
    <message>
        <source>Area:</source>
        <translation>Area:</translation>
    </message>
    <message>
        <source>Agente:</source>
        <translation>Agent:</translation>
    </message>
    <message>
        <source>Precio:</source>
        <translation>Price:</translation>
    </message>
    <message>
        <source>Nº Dormitorios:</source>
        <translation>Bedrooms:</translation>
    </message>
    <message>
        <source>Propietario:</source>
        <translation>Owner:</translation>
    </message>
    <message>
        <source>Fecha:</source>
        <translation>Date:</translation>
    </message>
    <message>
        <source>Teléfono:</source>
        <translation>Telephone:</translation>
    </message>
    <message>
        <source>Parte del texto; * sustituye a cualquier texto</source>
        <translation>Part of the text; * stands for any text</translation>
    </message>
    <message>
        <source>dd/mm/aaaa</source>
        <translation>dd/mm/yyyy</translation>
    </message>
    <message>
        <source>Código</source>
        <translation>Ref.</translation>
    </message>
    <message>
        <source>Dirección</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>Tipo</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Localidad</source>
        <translation>Town</translation>
    </message>
    <message>
        <source>Area</source>
        <translation>Area</translation>
    </message>
    <message>
        <source>Dorm.</source>
        <translation>Beds</translation>
    </message>
    <message>
        <source>Metros</source>
        <translation>Size (m²)</translation>
    </message>
    <message>
        <source>Precio</source>
        <translation>Price</translation>
    </message>
</context>
<context>
    <name>orb::frmBusPropietarios</name>
    <message>
        <source>Búsqueda de Propietarios de Alquiler</source>
        <translation>Search rental owners</translation>
    </message>
    <message>
        <source>Búsqueda de Propietarios de Venta</source>
        <translation>Search sales owners</translation>
    </message>
    <message>
        <source>Buscar Propietarios</source>
        <translation>Find owners</translation>
    </message>
    <message>
        <source>Ir a Propietario</source>
        <translation>Go to owner</translation>
    </message>
    <message>
        <source>Código:</source>
        <translation>Reference:</translation>
    </message>
    <message>
        <source>Nombre:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Fecha:</source>
        <translation>Date:</translation>
    </message>
    <message>
        <source>Parte del texto; * sustituye a cualquier texto</source>
        <translation>Part of the text; * stands for any text</translation>
    </message>
    <message>
        <source>dd/mm/aaaa</source>
        <translation>dd/mm/yyyy</translation>
    </message>
    <message>
        <source>Código</source>
        <translation>Ref.</translation>
    </message>
    <message>
        <source>Nombre</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Dirección</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>Localidad</source>
        <translation>Town</translation>
    </message>
    <message>
        <source>Teléfono</source>
        <translation>Telephone</translation>
    </message>
    <message>
        <source>Fecha</source>
        <translation>Date</translation>
    </message>
</context>
<context>
    <name>orb::frmClientes</name>
    <message>
        <source>&amp;Nombre:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>E&amp;stado:</source>
        <translation>&amp;Status:</translation>
    </message>
    <message>
        <source>&amp;Dirección:</source>
        <translation>&amp;Address:</translation>
    </message>
    <message>
        <source>&amp;Localidad:</source>
        <translation>&amp;Town:</translation>
    </message>
    <message>
        <source>C&amp;P:</source>
        <translation>&amp;Postcode:</translation>
    </message>
    <message>
        <source>Pro&amp;vincia:</source>
        <translation>Pro&amp;vince:</translation>
    </message>
    <message>
        <source>&amp;Teléfono:</source>
        <translation>P&amp;hone:</translation>
    </message>
    <message>
        <source>&amp;Móvil:</source>
        <translation>&amp;Mobile:</translation>
    </message>
    <message>
        <source>F&amp;ax:</source>
        <translation>Fa&amp;x:</translation>
    </message>
    <message>
        <source>Pasapor&amp;te:</source>
        <translation>Passp&amp;ort:</translation>
    </message>
    <message>
        <source>DN&amp;I:</source>
        <translation>DN&amp;I:</translation>
    </message>
    <message>
        <source>NI&amp;E:</source>
        <translation>NI&amp;E:</translation>
    </message>
    <message>
        <source>C&amp;omentarios:</source>
        <translation>&amp;Comments:</translation>
    </message>
    <message>
        <source>&amp;Requiere:</source>
        <translation>Re&amp;quirements:</translation>
    </message>
    <message>
        <source>Pres&amp;upuesto:</source>
        <translation>B&amp;udget:</translation>
    </message>
    <message>
        <source>Ti&amp;po:</source>
        <translation>T&amp;ype:</translation>
    </message>
    <message>
        <source>A&amp;gente:</source>
        <translation>A&amp;gent:</translation>
    </message>
    <message>
        <source>leer los agentes</source>
        <translation>read the agents</translation>
    </message>
    <message>
        <source>Propiedades que encajan</source>
        <translation>Matching properties</translation>
    </message>
    <message>
        <source>Visitas</source>
        <translation>Viewings</translation>
    </message>
    <message>
        <source>Nueva visita</source>
        <translation>New viewing</translation>
    </message>
    <message>
        <source>Ficha de Clientes de Alquileres</source>
        <translation>Client records (rentals)</translation>
    </message>
    <message>
        <source>Ficha de Clientes de Ventas</source>
        <translation>Client records (sales)</translation>
    </message>
</context>
<context>
    <name>orb::frmClientesNovedades</name>
    <message>
        <source>Clientes con propiedades nuevas</source>
        <translation>Clients with new matches</translation>
    </message>
    <message>
        <source>Código</source>
        <translation>Ref.</translation>
    </message>
    <message>
        <source>Nombre</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Lado</source>
        <translation>Side</translation>
    </message>
    <message>
        <source>Teléfono</source>
        <translation>Telephone</translation>
    </message>
    <message>
        <source>Esquina de la tabla</source>
        <translation>Table corner</translation>
    </message>
    <message>
        <source>Alquileres</source>
        <translation>Rentals</translation>
    </message>
    <message>
        <source>Ventas</source>
        <translation>Sales</translation>
    </message>
    <message>
        <source>&amp;Propiedades que encajan</source>
        <translation>&amp;Matching properties</translation>
    </message>
    <message>
        <source>Propiedades que encajan</source>
        <translation>Matching properties</translation>
    </message>
    <message>
        <source>&amp;Ir al cliente</source>
        <translation>&amp;Go to client</translation>
    </message>
    <message>
        <source>Ir al cliente</source>
        <translation>Go to client</translation>
    </message>
</context>
<context>
    <name>orb::frmCoincidencias</name>
    <message>
        <source>No le interesa</source>
        <translation>Not interested</translation>
    </message>
    <message>
        <source>Enviada</source>
        <translation>Sent</translation>
    </message>
    <message>
        <source>Nueva</source>
        <translation>New</translation>
    </message>
    <message>
        <source>Propiedades que encajan</source>
        <translation>Matching properties</translation>
    </message>
    <message>
        <source>Clientes interesados</source>
        <translation>Interested clients</translation>
    </message>
    <message>
        <source>Esquina de la tabla</source>
        <translation>Table corner</translation>
    </message>
    <message>
        <source>&amp;Ir a</source>
        <translation>&amp;Go to</translation>
    </message>
    <message>
        <source>&amp;Enviar por Email</source>
        <translation>Send by &amp;email</translation>
    </message>
    <message>
        <source>&amp;No le interesa</source>
        <translation>&amp;Not interested</translation>
    </message>
    <message>
        <source>&amp;Mostrar las que no le interesan</source>
        <translation>&amp;Show those not of interest</translation>
    </message>
    <message>
        <source>Mostrar las que no le interesan</source>
        <translation>Show those not of interest</translation>
    </message>
    <message>
        <source>Resultados desactualizados</source>
        <translation>Results out of date</translation>
    </message>
    <message>
        <source>&amp;Actualizar</source>
        <translation>&amp;Refresh</translation>
    </message>
    <message>
        <source>Actualizar (F5)</source>
        <translation>Refresh (F5)</translation>
    </message>
    <message>
        <source>&amp;Cerrar</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>Propiedades que encajan con %1</source>
        <translation>Properties matching %1</translation>
    </message>
    <message numerus="yes">
        <source>%n propiedades encajan con el cliente %1 (%2).</source>
        <translation>
            <numerusform>%n property matches client %1 (%2).</numerusform>
            <numerusform>%n properties match client %1 (%2).</numerusform>
        </translation>
    </message>
    <message>
        <source>Clientes interesados en %1</source>
        <translation>Clients interested in %1</translation>
    </message>
    <message numerus="yes">
        <source>%n clientes buscan una propiedad como la %1.</source>
        <translation>
            <numerusform>%n client is looking for a property like %1.</numerusform>
            <numerusform>%n clients are looking for a property like %1.</numerusform>
        </translation>
    </message>
    <message>
        <source>buscar las coincidencias</source>
        <translation>look for the matches</translation>
    </message>
    <message>
        <source>No se ha podido buscar las coincidencias.</source>
        <translation>Could not look for the matches.</translation>
    </message>
    <message>
        <source>Código</source>
        <translation>Ref.</translation>
    </message>
    <message>
        <source>Tipo</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Localidad</source>
        <translation>Town</translation>
    </message>
    <message>
        <source>Area</source>
        <translation>Area</translation>
    </message>
    <message>
        <source>Dorm.</source>
        <translation>Beds</translation>
    </message>
    <message>
        <source>Precio</source>
        <translation>Price</translation>
    </message>
    <message>
        <source>Puntos</source>
        <translation>Score</translation>
    </message>
    <message>
        <source>Estado</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Por qué encaja</source>
        <translation>Why it matches</translation>
    </message>
    <message>
        <source>Nombre</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Teléfono</source>
        <translation>Telephone</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>Email</translation>
    </message>
    <message>
        <source>Le vuelve a &amp;interesar</source>
        <translation>&amp;Interested again</translation>
    </message>
    <message>
        <source>Le vuelve a interesar</source>
        <translation>Interested again</translation>
    </message>
    <message>
        <source>marcar la propiedad</source>
        <translation>mark the property</translation>
    </message>
    <message>
        <source>No se ha podido marcar la propiedad.</source>
        <translation>Could not mark the property.</translation>
    </message>
    <message>
        <source>El cliente %1 no tiene dirección de correo: escríbala en el campo Email de su ficha.</source>
        <translation>Client %1 has no e-mail address: type it in the Email field of their record.</translation>
    </message>
    <message>
        <source>preparar el dossier de %1</source>
        <translation>prepare the dossier of %1</translation>
    </message>
    <message>
        <source>No se ha podido preparar el dossier de %1.</source>
        <translation>Could not prepare the dossier of %1.</translation>
    </message>
    <message>
        <source>Una propiedad para usted: %1</source>
        <translation>A property for you: %1</translation>
    </message>
    <message numerus="yes">
        <source>%n propiedades para usted</source>
        <translation>
            <numerusform>%n property for you</numerusform>
            <numerusform>%n properties for you</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Le adjuntamos el dossier de las propiedades %1, que encajan con lo que busca.</source>
        <translation>
            <numerusform>Please find attached the dossier of property %1, which matches what you are looking for.</numerusform>
            <numerusform>Please find attached the dossiers of properties %1, which match what you are looking for.</numerusform>
        </translation>
    </message>
    <message>
        <source>anotar el envío</source>
        <translation>record that it was sent</translation>
    </message>
    <message>
        <source>No se ha podido anotar el envío.</source>
        <translation>Could not record that it was sent.</translation>
    </message>
</context>
<context>
    <name>orb::frmConfig</name>
    <message>
        <source>%1: &quot;%2&quot; no es un número entero igual o mayor que 0.</source>
        <translation>%1: &quot;%2&quot; is not a whole number equal to or greater than 0.</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; no es un número entero de píxeles entre %3 y %4.</source>
        <translation>%1: &quot;%2&quot; is not a whole number of pixels between %3 and %4.</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; no es un número de puerto entre 1 y 65535.</source>
        <translation>%1: &quot;%2&quot; is not a port number between 1 and 65535.</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; no es una máscara válida: escriba uno o más caracteres 0 o #.</source>
        <translation>%1: &quot;%2&quot; is not a valid mask: type one or more characters 0 or #.</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; es demasiado larga: con el código de oficina %3 los códigos tendrían %4 caracteres y caben como máximo %5.</source>
        <translation>%1: &quot;%2&quot; is too long: with the office code %3 the references would have %4 characters and %5 fit at most.</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; no es un porcentaje entero entre 0 y 100.</source>
        <translation>%1: &quot;%2&quot; is not a whole percentage between 0 and 100.</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; no es una dirección completa que empiece por http:// o https://.</source>
        <translation>%1: &quot;%2&quot; is not a complete address starting with http:// or https://.</translation>
    </message>
    <message>
        <source>Configuración</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Contadores</source>
        <translation>Counters</translation>
    </message>
    <message>
        <source>C&amp;lientes:</source>
        <translation>C&amp;lients:</translation>
    </message>
    <message>
        <source>&amp;Propiedades:</source>
        <translation>&amp;Properties:</translation>
    </message>
    <message>
        <source>P&amp;ropietarios:</source>
        <translation>Owne&amp;rs:</translation>
    </message>
    <message>
        <source>&amp;Tipos:</source>
        <translation>&amp;Types:</translation>
    </message>
    <message>
        <source>L&amp;ocalidades:</source>
        <translation>T&amp;owns:</translation>
    </message>
    <message>
        <source>&amp;Areas:</source>
        <translation>&amp;Areas:</translation>
    </message>
    <message>
        <source>&amp;Máscara:</source>
        <translation>&amp;Mask:</translation>
    </message>
    <message>
        <source>Añadir a&amp;utomáticamente tras añadir</source>
        <translation>Add a&amp;utomatically after adding</translation>
    </message>
    <message>
        <source>Añadir automáticamente tras añadir</source>
        <translation>Add automatically after adding</translation>
    </message>
    <message>
        <source>Idioma de la interfaz:</source>
        <translation>Interface language:</translation>
    </message>
    <message>
        <source>&amp;General</source>
        <translation>&amp;General</translation>
    </message>
    <message>
        <source>Exportación de Datos</source>
        <translation>Data export</translation>
    </message>
    <message>
        <source>&amp;Servidor:</source>
        <translation>&amp;Server:</translation>
    </message>
    <message>
        <source>&amp;BBDD:</source>
        <translation>Data&amp;base:</translation>
    </message>
    <message>
        <source>&amp;Usuario:</source>
        <translation>&amp;User:</translation>
    </message>
    <message>
        <source>C&amp;ontraseña:</source>
        <translation>Passw&amp;ord:</translation>
    </message>
    <message>
        <source>&amp;Puerto de subida de fotos:</source>
        <translation>&amp;Photo upload port:</translation>
    </message>
    <message>
        <source>Generación de Fotos</source>
        <translation>Photo generation</translation>
    </message>
    <message>
        <source>&amp;Anchura foto normal:</source>
        <translation>Norm&amp;al photo width:</translation>
    </message>
    <message>
        <source>A&amp;ltura foto normal:</source>
        <translation>Norma&amp;l photo height:</translation>
    </message>
    <message>
        <source>Anc&amp;hura foto pequeña:</source>
        <translation>Small photo widt&amp;h:</translation>
    </message>
    <message>
        <source>Altura &amp;foto pequeña:</source>
        <translation>S&amp;mall photo height:</translation>
    </message>
    <message>
        <source>Portales</source>
        <translation>Property portals</translation>
    </message>
    <message>
        <source>Dirección de las fotos en la &amp;web:</source>
        <translation>Photos&apos; &amp;web address:</translation>
    </message>
    <message>
        <source>https://www.ejemplo.es/fotos/</source>
        <translation>https://www.example.com/photos/</translation>
    </message>
    <message>
        <source>Má&amp;ximo de propiedades rechazadas (%):</source>
        <translation>Ma&amp;ximum of rejected properties (%):</translation>
    </message>
    <message>
        <source>Anchura foto po&amp;rtales:</source>
        <translation>Po&amp;rtal photo width:</translation>
    </message>
    <message>
        <source>Al&amp;tura foto portales:</source>
        <translation>Portal photo heigh&amp;t:</translation>
    </message>
    <message>
        <source>&amp;Exportación Web</source>
        <translation>Web &amp;export</translation>
    </message>
    <message>
        <source>Sincronización</source>
        <translation>Synchronisation</translation>
    </message>
    <message>
        <source>&amp;Puerto:</source>
        <translation>&amp;Port:</translation>
    </message>
    <message>
        <source>Vacío: el puerto con el que se instaló el intercambio.</source>
        <translation>Empty: the port the exchange was installed with.</translation>
    </message>
    <message>
        <source>S&amp;incronización</source>
        <translation>Synchron&amp;isation</translation>
    </message>
    <message>
        <source>Servidor web</source>
        <translation>Web server</translation>
    </message>
    <message>
        <source>Usuario web</source>
        <translation>Web user</translation>
    </message>
    <message>
        <source>Contraseña web</source>
        <translation>Web password</translation>
    </message>
    <message>
        <source>Servidor de sincronización</source>
        <translation>Synchronisation server</translation>
    </message>
    <message>
        <source>Usuario de sincronización</source>
        <translation>Synchronisation user</translation>
    </message>
    <message>
        <source>Contraseña de sincronización</source>
        <translation>Synchronisation password</translation>
    </message>
    <message>
        <source>Puerto de sincronización</source>
        <translation>Synchronisation port</translation>
    </message>
    <message>
        <source>Aceptar</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>guardar la configuración</source>
        <translation>save the settings</translation>
    </message>
    <message>
        <source>No se pudo guardar la configuración.</source>
        <translation>The settings could not be saved.</translation>
    </message>
    <message>
        <source>El idioma de la interfaz se aplicará la próxima vez que se abra Orbalia.</source>
        <translation>The interface language will be applied the next time Orbalia is opened.</translation>
    </message>
    <message>
        <source>Datos de la agencia</source>
        <translation>Agency&apos;s details</translation>
    </message>
    <message>
        <source>&amp;Nombre de la agencia:</source>
        <translation>&amp;Agency name:</translation>
    </message>
    <message>
        <source>&amp;Código de esta oficina:</source>
        <translation>This office&apos;s &amp;code:</translation>
    </message>
    <message>
        <source>Letras y cifras, por ejemplo 01.</source>
        <translation>Letters and digits, for example 01.</translation>
    </message>
    <message>
        <source>Esta oficina es la p&amp;rincipal</source>
        <translation>This is the &amp;main office</translation>
    </message>
    <message>
        <source>Esta oficina es la principal</source>
        <translation>This is the main office</translation>
    </message>
    <message>
        <source>Oficinas de la r&amp;ed:</source>
        <translation>Network offic&amp;es:</translation>
    </message>
    <message>
        <source>Códigos de las oficinas separados por comas, el de la principal primero (por ejemplo 01,02).</source>
        <translation>The offices&apos; codes separated by commas, the main office&apos;s first (for example 01,02).</translation>
    </message>
    <message>
        <source>Código de la agencia en la &amp;web:</source>
        <translation>Agency code on the &amp;web:</translation>
    </message>
    <message>
        <source>Pie del dossier</source>
        <translation>Dossier footer</translation>
    </message>
    <message>
        <source>&amp;Pie del dossier:</source>
        <translation>Dossier &amp;footer:</translation>
    </message>
    <message>
        <source>Los cambios de esta página se aplican la próxima vez que se inicie el programa.</source>
        <translation>The changes on this page are applied the next time the program starts.</translation>
    </message>
    <message>
        <source>I&amp;nstalación</source>
        <translation>I&amp;nstallation</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>No se pudo guardar el archivo de la instalación [%1].
Compruebe que el programa puede escribir en esa carpeta.</source>
        <translation>The installation file [%1] could not be saved.
Check that the program can write in that folder.</translation>
    </message>
    <message>
        <source>Los datos de la instalación se han guardado y se aplicarán la próxima vez que se inicie el programa.</source>
        <translation>The installation&apos;s details have been saved and will be applied the next time the program starts.</translation>
    </message>
    <message>
        <source>Idioma de la interfaz</source>
        <translation>Interface language</translation>
    </message>
</context>
<context>
    <name>orb::frmConsulta</name>
    <message>
        <source>Consulta de</source>
        <translation>Lookup</translation>
    </message>
    <message>
        <source>Consulta de %1</source>
        <translation>Lookup: %1</translation>
    </message>
    <message>
        <source>Cod</source>
        <translation>Ref.</translation>
    </message>
    <message>
        <source>Nombre</source>
        <translation>Name</translation>
    </message>
</context>
<context>
    <name>orb::frmConsultaDossier</name>
    <message>
        <source>Elección de Dossier</source>
        <translation>Choose dossier</translation>
    </message>
    <message>
        <source>Modelos de dossier</source>
        <translation>Dossier models</translation>
    </message>
    <message>
        <source>Dossier nº %1</source>
        <translation>Dossier no. %1</translation>
    </message>
</context>
<context>
    <name>orb::frmConsultaPropietario</name>
    <message>
        <source>Consulta de</source>
        <translation>Lookup</translation>
    </message>
    <message>
        <source>Parte del código; * sustituye a cualquier texto</source>
        <translation>Part of the reference; * stands for any text</translation>
    </message>
    <message>
        <source>Parte del nombre; * sustituye a cualquier texto</source>
        <translation>Part of the name; * stands for any text</translation>
    </message>
    <message>
        <source>Código</source>
        <translation>Reference</translation>
    </message>
    <message>
        <source>Nombre</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>&amp;Buscar</source>
        <translation>&amp;Find</translation>
    </message>
    <message>
        <source>Código:</source>
        <translation>Reference:</translation>
    </message>
    <message>
        <source>Nombre:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Orden:</source>
        <translation>Sort by:</translation>
    </message>
    <message>
        <source>Propietarios</source>
        <translation>Owners</translation>
    </message>
    <message>
        <source>Consulta de Propietarios de Alquileres</source>
        <translation>Lookup: rental owners</translation>
    </message>
    <message>
        <source>Consulta de Propietarios de Ventas</source>
        <translation>Lookup: sales owners</translation>
    </message>
    <message>
        <source>Propietarios de Alquileres</source>
        <translation>Rental owners</translation>
    </message>
    <message>
        <source>Propietarios de Ventas</source>
        <translation>Sales owners</translation>
    </message>
    <message>
        <source>consultar los propietarios</source>
        <translation>look up the owners</translation>
    </message>
    <message>
        <source>No se ha podido consultar los propietarios.</source>
        <translation>Could not look up the owners.</translation>
    </message>
    <message>
        <source>Cod</source>
        <translation>Ref.</translation>
    </message>
</context>
<context>
    <name>orb::frmExportacionOficina</name>
    <message>
        <source>Exportación Oficina</source>
        <translation>Office export</translation>
    </message>
    <message>
        <source>&amp;Exportar</source>
        <translation>&amp;Export</translation>
    </message>
</context>
<context>
    <name>orb::frmExportacionPortales</name>
    <message>
        <source>Exportación a portales</source>
        <translation>Export to property portals</translation>
    </message>
    <message>
        <source>Registro de la exportación a portales</source>
        <translation>Log of the export to property portals</translation>
    </message>
    <message>
        <source>Propiedades:</source>
        <translation>Properties:</translation>
    </message>
    <message>
        <source>Fotos:</source>
        <translation>Photos:</translation>
    </message>
    <message>
        <source>Propiedades comprobadas</source>
        <translation>Properties checked</translation>
    </message>
    <message>
        <source>Fotos para portales preparadas</source>
        <translation>Portal photos prepared</translation>
    </message>
    <message>
        <source>&amp;Exportar</source>
        <translation>&amp;Export</translation>
    </message>
    <message>
        <source>&amp;Cerrar</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>C&amp;ancelar</source>
        <translation>C&amp;ancel</translation>
    </message>
    <message>
        <source>Publicadas: %1</source>
        <translation>Published: %1</translation>
    </message>
    <message>
        <source>Rechazadas: %1</source>
        <translation>Rejected: %1</translation>
    </message>
</context>
<context>
    <name>orb::frmExportacionWeb</name>
    <message>
        <source>Exportación Web</source>
        <translation>Web export</translation>
    </message>
    <message>
        <source>Registro de la exportación</source>
        <translation>Export log</translation>
    </message>
    <message>
        <source>Propiedades:</source>
        <translation>Properties:</translation>
    </message>
    <message>
        <source>Fotos:</source>
        <translation>Photos:</translation>
    </message>
    <message>
        <source>Propiedades exportadas</source>
        <translation>Properties exported</translation>
    </message>
    <message>
        <source>Fotos preparadas</source>
        <translation>Photos prepared</translation>
    </message>
    <message>
        <source>&amp;Exportar</source>
        <translation>&amp;Export</translation>
    </message>
    <message>
        <source>&amp;Cerrar</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>C&amp;ancelar</source>
        <translation>C&amp;ancel</translation>
    </message>
    <message>
        <source>Exportar</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Cerrar</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>orb::frmImportacionOficina</name>
    <message>
        <source>Importación Oficina</source>
        <translation>Office import</translation>
    </message>
    <message>
        <source>&amp;Importar</source>
        <translation>&amp;Import</translation>
    </message>
</context>
<context>
    <name>orb::frmIntercambio</name>
    <message>
        <source>Registro de la ejecución</source>
        <translation>Run log</translation>
    </message>
    <message>
        <source>Registros: %1</source>
        <translation>Records: %1</translation>
    </message>
    <message>
        <source>Registros copiados</source>
        <translation>Records copied</translation>
    </message>
    <message>
        <source>Fotos</source>
        <translation>Photos</translation>
    </message>
    <message>
        <source>Fotos: %v de %m</source>
        <translation>Photos: %v of %m</translation>
    </message>
    <message>
        <source>&amp;Cerrar</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>%1 (%2 de %3)</source>
        <translation>%1 (%2 of %3)</translation>
    </message>
</context>
<context>
    <name>orb::frmLocalidades</name>
    <message>
        <source>Ficha de Localidades</source>
        <translation>Town records</translation>
    </message>
    <message>
        <source>&amp;Código:</source>
        <translation>&amp;Reference:</translation>
    </message>
    <message>
        <source>&amp;Nombre:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>&amp;Provincia:</source>
        <translation>&amp;Province:</translation>
    </message>
</context>
<context>
    <name>orb::frmMain</name>
    <message>
        <source>&amp;Archivos</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Listados</source>
        <translation>&amp;Listing reports</translation>
    </message>
    <message>
        <source>&amp;Herramientas</source>
        <translation>&amp;Tools</translation>
    </message>
    <message>
        <source>Ay&amp;uda</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>Propiedades en &amp;Venta</source>
        <translation>Properties for &amp;sale</translation>
    </message>
    <message>
        <source>Propiedades en &amp;Alquiler</source>
        <translation>Properties for &amp;rent</translation>
    </message>
    <message>
        <source>&amp;Clientes de Ventas</source>
        <translation>Sales &amp;clients</translation>
    </message>
    <message>
        <source>Clientes de Al&amp;quileres</source>
        <translation>Rental clie&amp;nts</translation>
    </message>
    <message>
        <source>&amp;Propietarios de Ventas</source>
        <translation>Sales &amp;owners</translation>
    </message>
    <message>
        <source>Propietarios de Alquile&amp;res</source>
        <translation>Rental o&amp;wners</translation>
    </message>
    <message>
        <source>&amp;Tipos</source>
        <translation>T&amp;ypes</translation>
    </message>
    <message>
        <source>&amp;Localidades</source>
        <translation>&amp;Towns</translation>
    </message>
    <message>
        <source>Ar&amp;eas</source>
        <translation>&amp;Areas</translation>
    </message>
    <message>
        <source>&amp;Salir</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>A&amp;gentes</source>
        <translation>A&amp;gents</translation>
    </message>
    <message>
        <source>Listado de Clientes de &amp;Ventas</source>
        <translation>Listing report of &amp;sales clients</translation>
    </message>
    <message>
        <source>Listado de Clientes de &amp;Alquileres</source>
        <translation>Listing report of &amp;rental clients</translation>
    </message>
    <message>
        <source>Listado de &amp;Propietarios de Ventas</source>
        <translation>Listing report of sales &amp;owners</translation>
    </message>
    <message>
        <source>Listado de Propietarios de Al&amp;quileres</source>
        <translation>Listing report of rental o&amp;wners</translation>
    </message>
    <message>
        <source>Listado de &amp;Localidades/Areas</source>
        <translation>Listing report of &amp;towns/areas</translation>
    </message>
    <message>
        <source>Listado de &amp;Tipos</source>
        <translation>Listing report of t&amp;ypes</translation>
    </message>
    <message>
        <source>Búsqueda de &amp;Ventas</source>
        <translation>&amp;Sales search</translation>
    </message>
    <message>
        <source>Búsqueda de &amp;Alquileres</source>
        <translation>&amp;Rentals search</translation>
    </message>
    <message>
        <source>Búsqueda de Clie&amp;ntes de Ventas</source>
        <translation>Sales clie&amp;nts search</translation>
    </message>
    <message>
        <source>Búsqueda de Clientes de Al&amp;quileres</source>
        <translation>Rental &amp;clients search</translation>
    </message>
    <message>
        <source>Búsqueda de &amp;Propietarios de Ventas</source>
        <translation>Sales &amp;owners search</translation>
    </message>
    <message>
        <source>Búsqueda de Propietarios de Alquile&amp;res</source>
        <translation>Rental owners searc&amp;h</translation>
    </message>
    <message>
        <source>Exportación al &amp;Web</source>
        <translation>&amp;Web export</translation>
    </message>
    <message>
        <source>Exportación a por&amp;tales</source>
        <translation>Export to property &amp;portals</translation>
    </message>
    <message>
        <source>Exportación &amp;Oficina</source>
        <translation>Office &amp;export</translation>
    </message>
    <message>
        <source>&amp;Importación Oficina</source>
        <translation>Office &amp;import</translation>
    </message>
    <message>
        <source>&amp;Configuración</source>
        <translation>Se&amp;ttings</translation>
    </message>
    <message>
        <source>Propiedades</source>
        <translation>Properties</translation>
    </message>
    <message>
        <source>Propiedades en Alquiler</source>
        <translation>Properties for rent</translation>
    </message>
    <message>
        <source>Clientes</source>
        <translation>Clients</translation>
    </message>
    <message>
        <source>Clientes de Alquiler</source>
        <translation>Rental clients</translation>
    </message>
    <message>
        <source>Propietarios</source>
        <translation>Owners</translation>
    </message>
    <message>
        <source>Propietarios de Alquiler</source>
        <translation>Rental owners</translation>
    </message>
    <message>
        <source>Búsqueda</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>Búsqueda de Alquileres</source>
        <translation>Rentals search</translation>
    </message>
    <message>
        <source>Búsqueda de Clientes</source>
        <translation>Clients search</translation>
    </message>
    <message>
        <source>Búsqueda de Clientes de Alquiler</source>
        <translation>Rental clients search</translation>
    </message>
    <message>
        <source>Búsqueda de Propietarios</source>
        <translation>Owners search</translation>
    </message>
    <message>
        <source>Búsqueda de Propietarios de Alquiler</source>
        <translation>Rental owners search</translation>
    </message>
    <message>
        <source>Salir</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Listado de Clientes de Ventas</source>
        <translation>Listing report of sales clients</translation>
    </message>
    <message>
        <source>Listado de Clientes de Alquileres</source>
        <translation>Listing report of rental clients</translation>
    </message>
    <message>
        <source>Listado de Propietarios de Ventas</source>
        <translation>Listing report of sales owners</translation>
    </message>
    <message>
        <source>Listado de Propietarios de Alquileres</source>
        <translation>Listing report of rental owners</translation>
    </message>
    <message>
        <source>Listado de Localidades/Areas</source>
        <translation>Listing report of towns/areas</translation>
    </message>
    <message>
        <source>Listado de Tipos</source>
        <translation>Listing report of types</translation>
    </message>
    <message>
        <source>Área de ventanas</source>
        <translation>Window area</translation>
    </message>
    <message>
        <source>Más menús</source>
        <translation>More menus</translation>
    </message>
    <message>
        <source>Más botones</source>
        <translation>More buttons</translation>
    </message>
    <message>
        <source>Menú principal</source>
        <translation>Main menu</translation>
    </message>
    <message>
        <source>&amp;Acerca de</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>Barra de herramientas</source>
        <translation>Toolbar</translation>
    </message>
    <message>
        <source>Barra de búsqueda rápida</source>
        <translation>Quick search bar</translation>
    </message>
    <message>
        <source>Búsqueda rápida</source>
        <translation>Quick search</translation>
    </message>
    <message>
        <source>Oficina principal</source>
        <translation>Main office</translation>
    </message>
    <message>
        <source>Oficina sin código</source>
        <translation>Office without a code</translation>
    </message>
    <message>
        <source>Oficina %1 (principal)</source>
        <translation>Office %1 (main)</translation>
    </message>
    <message>
        <source>Oficina %1</source>
        <translation>Office %1</translation>
    </message>
    <message>
        <source>&amp;Ventana</source>
        <translation>&amp;Window</translation>
    </message>
    <message>
        <source>Ventana</source>
        <translation>Window</translation>
    </message>
    <message>
        <source>&amp;Cascada</source>
        <translation>&amp;Cascade</translation>
    </message>
    <message>
        <source>&amp;Mosaico</source>
        <translation>&amp;Tile</translation>
    </message>
    <message>
        <source>Ventana &amp;siguiente</source>
        <translation>&amp;Next window</translation>
    </message>
    <message>
        <source>Ventana &amp;anterior</source>
        <translation>&amp;Previous window</translation>
    </message>
    <message>
        <source>Estado del registro</source>
        <translation>Record status</translation>
    </message>
</context>
<context>
    <name>orb::frmPropiedades</name>
    <message>
        <source>leer los agentes</source>
        <translation>read the agents</translation>
    </message>
    <message>
        <source>Ficha de Propiedades en Alquiler</source>
        <translation>Property records (for rent)</translation>
    </message>
    <message>
        <source>Ficha de Propiedades en Venta</source>
        <translation>Property records (for sale)</translation>
    </message>
    <message>
        <source>Nuevo Propietario de Alquileres</source>
        <translation>New owner (rentals)</translation>
    </message>
    <message>
        <source>Nuevo Propietario de Ventas</source>
        <translation>New owner (sales)</translation>
    </message>
    <message>
        <source>crear el propietario</source>
        <translation>create the owner</translation>
    </message>
    <message>
        <source>No se ha podido crear el propietario.</source>
        <translation>The owner could not be created.</translation>
    </message>
    <message>
        <source>buscar duplicados</source>
        <translation>look for duplicates</translation>
    </message>
    <message>
        <source>&amp;Usar el elegido</source>
        <translation>&amp;Use the chosen one</translation>
    </message>
    <message>
        <source>Pestañas</source>
        <translation>Tabs</translation>
    </message>
    <message>
        <source>Características</source>
        <translation>Features</translation>
    </message>
    <message>
        <source>Confidencial</source>
        <translation>Confidential</translation>
    </message>
    <message>
        <source>Fotos</source>
        <translation>Photos</translation>
    </message>
    <message>
        <source>Datos Alquiler</source>
        <translation>Rental details</translation>
    </message>
    <message>
        <source>Datos Inquilino</source>
        <translation>Tenant details</translation>
    </message>
    <message>
        <source>Actividades</source>
        <translation>Activity log</translation>
    </message>
    <message>
        <source>Dossier</source>
        <translation>Dossier</translation>
    </message>
    <message>
        <source>Web</source>
        <translation>Web</translation>
    </message>
    <message>
        <source>A&amp;rea:</source>
        <translation>Ar&amp;ea:</translation>
    </message>
    <message>
        <source>Area (código)</source>
        <translation>Area (code)</translation>
    </message>
    <message>
        <source>meses</source>
        <translation>months</translation>
    </message>
    <message>
        <source>mes</source>
        <translation>month</translation>
    </message>
    <message>
        <source>Fian&amp;za:</source>
        <translation>&amp;Deposit:</translation>
    </message>
    <message>
        <source>Fianza (meses)</source>
        <translation>Deposit (months)</translation>
    </message>
    <message>
        <source>Exportación Web</source>
        <translation>Web export</translation>
    </message>
    <message>
        <source>Destacada</source>
        <translation>Featured</translation>
    </message>
    <message>
        <source>Portales</source>
        <translation>Property portals</translation>
    </message>
    <message>
        <source>E&amp;stado:</source>
        <translation>&amp;Status:</translation>
    </message>
    <message>
        <source>Alquiler</source>
        <translation>Rental</translation>
    </message>
    <message>
        <source>T&amp;ipo:</source>
        <translation>T&amp;ype:</translation>
    </message>
    <message>
        <source>&amp;Localidad:</source>
        <translation>&amp;Town:</translation>
    </message>
    <message>
        <source>Piscina:</source>
        <translation>Pool:</translation>
    </message>
    <message>
        <source>Jardín:</source>
        <translation>Garden:</translation>
    </message>
    <message>
        <source>Garaje:</source>
        <translation>Garage:</translation>
    </message>
    <message>
        <source>Orientación:</source>
        <translation>Orientation:</translation>
    </message>
    <message>
        <source>Firmado</source>
        <translation>Signed</translation>
    </message>
    <message>
        <source>Exclusiva</source>
        <translation>Sole agency</translation>
    </message>
    <message>
        <source>Enviar correo al inquilino</source>
        <translation>Email the tenant</translation>
    </message>
    <message>
        <source>Emai&amp;l:</source>
        <translation>Emai&amp;l:</translation>
    </message>
    <message>
        <source>Enviar correo al propietario</source>
        <translation>Email the owner</translation>
    </message>
    <message>
        <source>Esquina de la tabla de actividades</source>
        <translation>Corner of the activity log table</translation>
    </message>
    <message>
        <source>Insertar Línea</source>
        <translation>Insert line</translation>
    </message>
    <message>
        <source>Eliminar Línea</source>
        <translation>Delete line</translation>
    </message>
    <message>
        <source>Imprimir Ficha</source>
        <translation>Print record sheet</translation>
    </message>
    <message>
        <source>Imprimir Dossier</source>
        <translation>Print dossier</translation>
    </message>
    <message>
        <source>Dossier en PDF</source>
        <translation>Dossier as PDF</translation>
    </message>
    <message>
        <source>Enviar dossier por Email</source>
        <translation>Email the dossier</translation>
    </message>
    <message>
        <source>Clientes interesados</source>
        <translation>Interested clients</translation>
    </message>
    <message>
        <source>Visitas</source>
        <translation>Viewings</translation>
    </message>
    <message>
        <source>Nueva visita</source>
        <translation>New viewing</translation>
    </message>
    <message>
        <source>Informe al propietario</source>
        <translation>Owner report</translation>
    </message>
</context>
<context>
    <name>orb::frmPropietarioNuevo</name>
    <message>
        <source>Nuevo Propietario</source>
        <translation>New owner</translation>
    </message>
    <message>
        <source>Comentarios</source>
        <translation>Comments</translation>
    </message>
    <message>
        <source>C&amp;omentarios:</source>
        <translation>&amp;Comments:</translation>
    </message>
    <message>
        <source>Aceptar</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>orb::frmPropietarios</name>
    <message>
        <source>C&amp;omentarios:</source>
        <translation>&amp;Comments:</translation>
    </message>
    <message>
        <source>Ficha de Propietarios de Alquileres</source>
        <translation>Owner records (rentals)</translation>
    </message>
    <message>
        <source>Ficha de Propietarios de Ventas</source>
        <translation>Owner records (sales)</translation>
    </message>
</context>
<context>
    <name>orb::frmTipos</name>
    <message>
        <source>Ficha de Tipos</source>
        <translation>Type records</translation>
    </message>
    <message>
        <source>&amp;Código:</source>
        <translation>&amp;Reference:</translation>
    </message>
    <message>
        <source>&amp;Nombre:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>N&amp;ombre:</source>
        <translation>N&amp;ame:</translation>
    </message>
    <message>
        <source>No&amp;mbre:</source>
        <translation>Na&amp;me:</translation>
    </message>
    <message>
        <source>Nombre %1</source>
        <translation>Name %1</translation>
    </message>
    <message>
        <source>(Inglés)</source>
        <translation>(English)</translation>
    </message>
    <message>
        <source>(Francés)</source>
        <translation>(French)</translation>
    </message>
    <message>
        <source>Nombre</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Tipo en portales</source>
        <translation>Type on portals</translation>
    </message>
    <message>
        <source>&amp;Tipo en portales:</source>
        <translation>&amp;Type on portals:</translation>
    </message>
</context>
<context>
    <name>orb::frmVisitas</name>
    <message>
        <source>Ficha de Visitas</source>
        <translation>Viewing records</translation>
    </message>
    <message>
        <source>&amp;Propiedad:</source>
        <translation>&amp;Property:</translation>
    </message>
    <message>
        <source>Dirección de la propiedad</source>
        <translation>Property address</translation>
    </message>
    <message>
        <source>C&amp;liente:</source>
        <translation>C&amp;lient:</translation>
    </message>
    <message>
        <source>Nombre del cliente</source>
        <translation>Client name</translation>
    </message>
    <message>
        <source>&amp;Fecha:</source>
        <translation>&amp;Date:</translation>
    </message>
    <message>
        <source>&amp;Hora:</source>
        <translation>&amp;Time:</translation>
    </message>
    <message>
        <source>&amp;Duración (min):</source>
        <translation>D&amp;uration (min):</translation>
    </message>
    <message>
        <source>A&amp;gente:</source>
        <translation>A&amp;gent:</translation>
    </message>
    <message>
        <source>E&amp;stado:</source>
        <translation>&amp;Status:</translation>
    </message>
    <message>
        <source>&amp;Valoración (1-5):</source>
        <translation>&amp;Rating (1-5):</translation>
    </message>
    <message>
        <source>&amp;Oferta (€):</source>
        <translation>&amp;Offer (€):</translation>
    </message>
    <message>
        <source>Opi&amp;nión:</source>
        <translation>Opi&amp;nion:</translation>
    </message>
    <message>
        <source>Oficina de la visita</source>
        <translation>Viewing office</translation>
    </message>
    <message>
        <source>Alquiler</source>
        <translation>Rental</translation>
    </message>
    <message>
        <source>Anotada</source>
        <translation>Logged</translation>
    </message>
    <message>
        <source>Visitas</source>
        <translation>Viewings</translation>
    </message>
    <message>
        <source>Fecha</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Hora</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Propiedad</source>
        <translation>Property</translation>
    </message>
    <message>
        <source>Cliente</source>
        <translation>Client</translation>
    </message>
    <message>
        <source>Agente</source>
        <translation>Agent</translation>
    </message>
    <message>
        <source>Estado</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Esquina de la lista de visitas</source>
        <translation>Corner of the viewings list</translation>
    </message>
    <message>
        <source>Hoja de visita</source>
        <translation>Viewing sheet</translation>
    </message>
    <message>
        <source>preparar la hoja de visita</source>
        <translation>prepare the viewing sheet</translation>
    </message>
    <message>
        <source>No se puede preparar la hoja de visita.</source>
        <translation>The viewing sheet cannot be prepared.</translation>
    </message>
    <message>
        <source>Enviar la hoja de visita por correo</source>
        <translation>Email the viewing sheet</translation>
    </message>
</context>
<context>
    <name>orbalia-backup</name>
    <message>
        <source>Hace una copia de seguridad con fecha de la base de datos de la agencia en la carpeta Copias de la instalación y conserva las más recientes (clave Conservar de la sección [Copias] de Orbalia.ini, %1 por omisión). En un puesto del servidor la copia la hace pg_dump (Orbalia-AAAAMMDD-HHMMSS.dump); con el archivo, la propia base de datos (Orbalia-AAAAMMDD-HHMMSS.db).
Termina con 0 si la copia está hecha, 1 si ha fallado y 2 si la carpeta, las opciones o los ajustes no se pueden usar.</source>
        <translation>Makes a dated backup of the agency database in the installation&apos;s Copias folder and keeps the newest (key Conservar of the section [Copias] of Orbalia.ini, %1 by default). On a server seat pg_dump makes the backup (Orbalia-YYYYMMDD-HHMMSS.dump); with the file, the database itself (Orbalia-YYYYMMDD-HHMMSS.db).
Ends with 0 if the backup is made, 1 if it failed and 2 if the folder, the options or the settings cannot be used.</translation>
    </message>
    <message>
        <source>CARPETA</source>
        <translation>FOLDER</translation>
    </message>
    <message>
        <source>Carpeta de la instalación (por omisión, la habitual de este puesto).</source>
        <translation>Installation folder (by default, this seat&apos;s usual one).</translation>
    </message>
    <message>
        <source>[CARPETA]</source>
        <translation>[FOLDER]</translation>
    </message>
    <message>
        <source>Restaura la copia ARCHIVO (una ruta o un nombre de la carpeta Copias) en vez de hacer una copia. En el servidor, la base de datos debe estar vacía; con el archivo, el programa debe estar cerrado, y antes se guarda una copia de la base de datos actual.</source>
        <translation>Restores the backup FILE (a path or a name in the Copias folder) instead of making a backup. On the server, the database must be empty; with the file, the program must be closed, and a backup of the current database is made first.</translation>
    </message>
    <message>
        <source>ARCHIVO</source>
        <translation>FILE</translation>
    </message>
    <message>
        <source>Error: sobran argumentos: %1</source>
        <translation>Error: too many arguments: %1</translation>
    </message>
    <message>
        <source>Para ver las opciones: orbalia-backup --help</source>
        <translation>To see the options: orbalia-backup --help</translation>
    </message>
    <message>
        <source>La base de datos que había se ha guardado antes en %1.</source>
        <translation>The database that was there has been saved first to %1.</translation>
    </message>
    <message>
        <source>Restaurada la copia %1 en %2 (versión %3 de la base de datos).</source>
        <translation>Restored the backup %1 into %2 (database version %3).</translation>
    </message>
    <message>
        <source>Restaurada la copia %1 en %2.</source>
        <translation>Restored the backup %1 into %2.</translation>
    </message>
    <message>
        <source>Copia de seguridad de %1 hecha en %2 (%3).</source>
        <translation>Backup of %1 made in %2 (%3).</translation>
    </message>
    <message numerus="yes">
        <source>Borradas las copias más antiguas que las %n más recientes: %1.</source>
        <translation>
            <numerusform>Deleted the backups older than the newest one: %1.</numerusform>
            <numerusform>Deleted the backups older than the %n newest: %1.</numerusform>
        </translation>
    </message>
    <message>
        <source>Aviso: no se han podido borrar las copias antiguas %1.</source>
        <translation>Warning: the old backups %1 could not be deleted.</translation>
    </message>
    <message>
        <source>Error: %1</source>
        <translation>Error: %1</translation>
    </message>
</context>
<context>
    <name>orbalia-exchange</name>
    <message>
        <source>Uso: orbalia-exchange export|import [--home CARPETA]
  export          exporta los datos de esta oficina y los sube al servidor de intercambio
  import          baja e importa los datos de las demás oficinas de la red
  --home CARPETA  carpeta de la instalación (por omisión $ORBALIA_HOME o la del programa)
</source>
        <translation>Usage: orbalia-exchange export|import [--home FOLDER]
  export          exports this office&apos;s data and uploads them to the exchange server
  import          downloads and imports the data of the other offices of the network
  --home FOLDER   installation folder (by default $ORBALIA_HOME or the program&apos;s own)
</translation>
    </message>
    <message>
        <source>Error: argumento no reconocido: %1</source>
        <translation>Error: unrecognised argument: %1</translation>
    </message>
    <message>
        <source>Error: %1</source>
        <translation>Error: %1</translation>
    </message>
    <message>
        <source>Error: la base de datos no está en la versión %1; ejecute orbalia-updatedb.</source>
        <translation>Error: the database is not at version %1; run orbalia-updatedb.</translation>
    </message>
</context>
<context>
    <name>orbalia-install</name>
    <message>
        <source>Uso: orbalia-install CARPETA [opciones]
Crea una instalación completa en CARPETA (se crea si no existe).

</source>
        <translation>Usage: orbalia-install FOLDER [options]
Creates a complete installation in FOLDER (created if it does not exist).

</translation>
    </message>
    <message>
        <source>Datos de la agencia (Orbalia.ini); los que no se indican quedan vacíos, o con los de
la agencia de demostración si se usa --demo:
  --agencia NOMBRE          nombre de la agencia (título de la ventana)
  --oficina CÓDIGO          código de esta oficina (letras y cifras)
  --principal               esta oficina es la principal (por omisión)
  --secundaria              esta oficina no es la principal
  --web CÓDIGO              código de la agencia en la web
  --red CÓDIGOS             códigos de las oficinas de la red, separados por comas,
                            el de la principal primero (por ejemplo 01,02)
  --pie TEXTO               pie de página del dossier
  --modelos N               número de modelos de dossier (por omisión 1)
  --logo ARCHIVO            imagen de fondo de la ventana principal (Logo800.jpg)
  --logo-dossier ARCHIVO    logotipo del dossier (DossierLogo.jpg)
                            sin --logo ni --logo-dossier, un dibujo sencillo con el nombre

</source>
        <translation>Agency facts (Orbalia.ini); those not given stay empty, or take the demo agency&apos;s
if --demo is used:
  --agencia NAME            the agency&apos;s name (the window&apos;s title)
  --oficina CODE            this office&apos;s code (letters and digits)
  --principal               this office is the main office (default)
  --secundaria              this office is not the main office
  --web CODE                the agency&apos;s code on the web
  --red CODES               codes of the network&apos;s offices, separated by commas,
                            the main office&apos;s first (for example 01,02)
  --pie TEXT                the dossier&apos;s footer
  --modelos N               number of dossier models (default 1)
  --logo FILE               background picture of the main window (Logo800.jpg)
  --logo-dossier FILE       the dossier&apos;s logo (DossierLogo.jpg)
                            without --logo or --logo-dossier, a plain drawing with the name

</translation>
    </message>
    <message>
        <source>Intercambio entre oficinas:
  --usuario-intercambio U   usuario (y módulo) del servidor de intercambio
  --servidor-intercambio H  servidor rsync del intercambio
  --puerto-intercambio N    puerto del servidor rsync (por omisión 873)
  --clave-intercambio-de F  lee la contraseña del intercambio del archivo F

</source>
        <translation>Office exchange:
  --usuario-intercambio U   user (and module) on the exchange server
  --servidor-intercambio H  rsync server of the exchange
  --puerto-intercambio N    port of the rsync server (default 873)
  --clave-intercambio-de F  reads the exchange password from file F

</translation>
    </message>
    <message>
        <source>Demostración:
  --demo N                  N propiedades de demostración con sus propietarios, clientes
                            y catálogos, y los datos de la agencia de demostración
  --sin-fotos               propiedades de demostración sin fotografías
  --semilla N               semilla de los datos de demostración (los mismos datos para
                            la misma semilla)
  --nueva                   CARPETA no debe existir (o debe estar vacía); la instalación se
                            prepara aparte y aparece completa o no aparece
  -h, --help, --ayuda       muestra esta ayuda

</source>
        <translation>Demo:
  --demo N                  N demo properties with their owners, clients
                            and catalogues, and the demo agency&apos;s facts
  --sin-fotos               demo properties without photos
  --semilla N               seed of the demo data (the same data for
                            the same seed)
  --nueva                   FOLDER must not exist (or must be empty); the installation is
                            prepared aside and appears complete or not at all
  -h, --help, --ayuda       shows this help

</translation>
    </message>
    <message>
        <source>Error: --demo necesita un número de propiedades.</source>
        <translation>Error: --demo needs a number of properties.</translation>
    </message>
    <message>
        <source>Error: --semilla necesita un número.</source>
        <translation>Error: --semilla needs a number.</translation>
    </message>
    <message>
        <source>Error: --modelos necesita un número de modelos de dossier entre 1 y 99.</source>
        <translation>Error: --modelos needs a number of dossier models from 1 to 99.</translation>
    </message>
    <message>
        <source>Error: --oficina: %1</source>
        <translation>Error: --oficina: %1</translation>
    </message>
    <message>
        <source>Error: --puerto-intercambio necesita un número de puerto.</source>
        <translation>Error: --puerto-intercambio needs a port number.</translation>
    </message>
    <message>
        <source>Error: no se puede leer el archivo de la contraseña del intercambio.</source>
        <translation>Error: cannot read the file with the exchange password.</translation>
    </message>
    <message>
        <source>Error: argumento no reconocido: %1</source>
        <translation>Error: argument not recognised: %1</translation>
    </message>
    <message numerus="yes">
        <source>Instalación creada en %1 con %n propiedades de demostración (%2 ms).</source>
        <translation>
            <numerusform>Installation created in %1 with %n demo property (%2 ms).</numerusform>
            <numerusform>Installation created in %1 with %n demo properties (%2 ms).</numerusform>
        </translation>
    </message>
    <message>
        <source>Instalación creada en %1 (%2 ms).</source>
        <translation>Installation created in %1 (%2 ms).</translation>
    </message>
</context>
<context>
    <name>orbalia-portales</name>
    <message>
        <source>Escribe el fichero de propiedades para portales (Web/portales/kyero.xml) y lo sube con las fotos del web.</source>
        <translation>Writes the property file for the portals (Web/portales/kyero.xml) and uploads it with the website&apos;s photos.</translation>
    </message>
    <message>
        <source>Carpeta de la instalación.</source>
        <translation>Installation folder.</translation>
    </message>
    <message>
        <source>Solo escribe el fichero, no lo sube.</source>
        <translation>Only writes the file, does not upload it.</translation>
    </message>
</context>
<context>
    <name>orbalia-updatedb</name>
    <message>
        <source>Uso: orbalia-updatedb [CÓDIGO_OFICINA00000]
Crea o actualiza Orbalia.db a la versión %1, tras guardar una copia con fecha.
  CÓDIGO_OFICINA00000  código de la oficina seguido de 00000
La base de datos se busca en $ORBALIA_HOME, la carpeta del programa o la actual.
</source>
        <translation>Usage: orbalia-updatedb [OFFICE_CODE00000]
Creates or upgrades Orbalia.db to version %1, after saving a dated copy.
  OFFICE_CODE00000     the office&apos;s code followed by 00000
The database is looked for in $ORBALIA_HOME, the program&apos;s folder or the current one.
</translation>
    </message>
</context>
<context>
    <name>orbalia-webexport</name>
    <message>
        <source>Publica las propiedades marcadas para el web y sube sus fotos.</source>
        <translation>Publishes the properties marked for the website and uploads their photos.</translation>
    </message>
    <message>
        <source>Carpeta de la instalación.</source>
        <translation>Installation folder.</translation>
    </message>
    <message>
        <source>No sube las fotos.</source>
        <translation>Does not upload the photos.</translation>
    </message>
</context>
<context>
    <name>pg::Connection</name>
    <message>
        <source>sin memoria para la conexión</source>
        <translation>out of memory for the connection</translation>
    </message>
</context>
<context>
    <name>proc::ProcessRunner</name>
    <message>
        <source>ya hay un programa en marcha</source>
        <translation>a program is already running</translation>
    </message>
    <message>
        <source>no se pudo iniciar %1: %2</source>
        <translation>%1 could not be started: %2</translation>
    </message>
    <message>
        <source>cancelado</source>
        <translation>cancelled</translation>
    </message>
    <message>
        <source>%1 terminó de forma anormal</source>
        <translation>%1 ended abnormally</translation>
    </message>
    <message>
        <source>%1 terminó con el código %2</source>
        <translation>%1 ended with code %2</translation>
    </message>
</context>
<context>
    <name>report::Document</name>
    <message>
        <source>No se puede imprimir el informe &quot;%1&quot;: la impresora no responde.</source>
        <translation>The report &quot;%1&quot; cannot be printed: the printer does not respond.</translation>
    </message>
    <message>
        <source>No se puede escribir el archivo &quot;%1&quot;: %2</source>
        <translation>The file &quot;%1&quot; cannot be written: %2</translation>
    </message>
    <message>
        <source>no se pudo empezar el documento PDF.</source>
        <translation>the PDF document could not be started.</translation>
    </message>
</context>
<context>
    <name>report::LayoutReader</name>
    <message>
        <source>no es un informe (falta el elemento &lt;report&gt;)</source>
        <translation>it is not a report (the &lt;report&gt; element is missing)</translation>
    </message>
    <message>
        <source>el elemento raíz es &lt;%1&gt; y debe ser &lt;report&gt;</source>
        <translation>the root element is &lt;%1&gt; and must be &lt;report&gt;</translation>
    </message>
    <message>
        <source>sección desconocida &lt;%1&gt;</source>
        <translation>unknown section &lt;%1&gt;</translation>
    </message>
    <message>
        <source>la sección &lt;%1&gt; aparece dos veces</source>
        <translation>the section &lt;%1&gt; appears twice</translation>
    </message>
    <message>
        <source>línea %1: %2</source>
        <translation>line %1: %2</translation>
    </message>
    <message>
        <source>el atributo %1=&quot;%2&quot; no es un número válido</source>
        <translation>the attribute %1=&quot;%2&quot; is not a valid number</translation>
    </message>
    <message>
        <source>falta el atributo %1 en &lt;%2&gt;</source>
        <translation>the attribute %1 is missing in &lt;%2&gt;</translation>
    </message>
    <message>
        <source>el atributo %1=&quot;%2&quot; debe ser true o false</source>
        <translation>the attribute %1=&quot;%2&quot; must be true or false</translation>
    </message>
    <message>
        <source>el atributo %1=&quot;%2&quot; no es un color</source>
        <translation>the attribute %1=&quot;%2&quot; is not a colour</translation>
    </message>
    <message>
        <source>tamaño de página desconocido &quot;%1&quot;</source>
        <translation>unknown page size &quot;%1&quot;</translation>
    </message>
    <message>
        <source>página demasiado pequeña</source>
        <translation>page too small</translation>
    </message>
    <message>
        <source>orientación desconocida &quot;%1&quot;</source>
        <translation>unknown orientation &quot;%1&quot;</translation>
    </message>
    <message>
        <source>márgenes no válidos &quot;%1&quot;</source>
        <translation>invalid margins &quot;%1&quot;</translation>
    </message>
    <message>
        <source>márgenes: se esperan 1 o 4 valores en mm</source>
        <translation>margins: 1 or 4 values in mm are expected</translation>
    </message>
    <message>
        <source>los márgenes no dejan sitio en la página</source>
        <translation>the margins leave no room on the page</translation>
    </message>
    <message>
        <source>tamaño de letra fuera de rango</source>
        <translation>font size out of range</translation>
    </message>
    <message>
        <source>alineación desconocida &quot;%1&quot;</source>
        <translation>unknown alignment &quot;%1&quot;</translation>
    </message>
    <message>
        <source>alineación vertical desconocida &quot;%1&quot;</source>
        <translation>unknown vertical alignment &quot;%1&quot;</translation>
    </message>
    <message>
        <source>elemento desconocido &lt;%1&gt;</source>
        <translation>unknown element &lt;%1&gt;</translation>
    </message>
    <message>
        <source>minSize=&quot;%1&quot; debe estar entre 1 y el tamaño de la letra (%2)</source>
        <translation>minSize=&quot;%1&quot; must be between 1 and the font size (%2)</translation>
    </message>
    <message>
        <source>&lt;%1&gt; necesita el atributo column</source>
        <translation>&lt;%1&gt; needs the column attribute</translation>
    </message>
    <message>
        <source>&lt;%1&gt; no es un texto: hideWhenEmpty y minSize no valen para él</source>
        <translation>&lt;%1&gt; is not a text: hideWhenEmpty and minSize do not apply to it</translation>
    </message>
    <message>
        <source>Página {page} de {pages}</source>
        <translation>Page {page} of {pages}</translation>
    </message>
    <message>
        <source>showWith=&quot;%1&quot; no nombra ningún elemento de la sección</source>
        <translation>showWith=&quot;%1&quot; names no element of the section</translation>
    </message>
    <message>
        <source>showWith=&quot;%1&quot; forma un círculo</source>
        <translation>showWith=&quot;%1&quot; forms a cycle</translation>
    </message>
    <message>
        <source>No se puede abrir el informe &quot;%1&quot;: %2</source>
        <translation>The report &quot;%1&quot; cannot be opened: %2</translation>
    </message>
    <message>
        <source>el archivo no existe.</source>
        <translation>the file does not exist.</translation>
    </message>
</context>
<context>
    <name>report::PreviewWindow</name>
    <message>
        <source>Barra de la vista previa</source>
        <translation>Print preview bar</translation>
    </message>
    <message>
        <source>Imprimir</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Primera página</source>
        <translation>First page</translation>
    </message>
    <message>
        <source>Página anterior</source>
        <translation>Previous page</translation>
    </message>
    <message>
        <source>Página siguiente</source>
        <translation>Next page</translation>
    </message>
    <message>
        <source>Última página</source>
        <translation>Last page</translation>
    </message>
    <message>
        <source>Ampliar</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>Reducir</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>Ajustar al ancho</source>
        <translation>Fit to width</translation>
    </message>
    <message>
        <source>Página completa</source>
        <translation>Whole page</translation>
    </message>
    <message>
        <source>Más botones</source>
        <translation>More buttons</translation>
    </message>
    <message>
        <source>Progreso del informe</source>
        <translation>Report progress</translation>
    </message>
    <message>
        <source>%v filas</source>
        <translation>%v rows</translation>
    </message>
    <message>
        <source>Vista previa</source>
        <translation>Print preview</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Página %1 de %2</source>
        <translation>Page %1 of %2</translation>
    </message>
</context>
<context>
    <name>report::Report</name>
    <message>
        <source>No se puede abrir el informe &quot;%1&quot;: el campo &quot;%2&quot; usa el formato &quot;%3&quot;, que el programa no conoce.</source>
        <translation>The report &quot;%1&quot; cannot be opened: the field &quot;%2&quot; uses the format &quot;%3&quot;, which the program does not know.</translation>
    </message>
</context>
<context>
    <name>report::ReportError</name>
    <message>
        <source>Informe cancelado.</source>
        <translation>Report cancelled.</translation>
    </message>
</context>
<context>
    <name>ui::DialogService</name>
    <message>
        <source>Imprimir</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Agente</source>
        <translation>Agent</translation>
    </message>
    <message>
        <source>&amp;Agente:</source>
        <translation>&amp;Agent:</translation>
    </message>
    <message>
        <source>Contraseña</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>&amp;Contraseña:</source>
        <translation>&amp;Password:</translation>
    </message>
    <message>
        <source>Aceptar</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>ui::DisplayText</name>
    <message>
        <source>Verdadero</source>
        <translation>True</translation>
    </message>
    <message>
        <source>Falso</source>
        <translation>False</translation>
    </message>
</context>
</TS>
