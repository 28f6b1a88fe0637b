#pragma once

// The everyday services, each in its own header; this one includes them all
// for code that still reaches for the whole set. New code includes the one it uses.
#include "shell/Controles.h"
#include "shell/Fechas.h"
#include "shell/Ficheros.h"
#include "shell/Mensajes.h"
#include "shell/Numeros.h"
