#pragma once

namespace swfplayer {

struct fn_call;

// The global Object constructor: a new plain object of the calling player.
void as_global_object_ctor(const fn_call& fn);

// The built-in methods every object finds first (the Object method table). Each needs a
// "this" object and its exact argument count; otherwise the result is false.

// addProperty(name, getter, setter): stores a hidden getter/setter property.
void as_object_addproperty(const fn_call& fn);
// registerClass(name, class): binds a script class to an exported clip of the target movie.
void as_object_registerclass(const fn_call& fn);
// hasOwnProperty(name): the own member table holds the name (no prototypes).
void as_object_hasownproperty(const fn_call& fn);
// watch(name, callback [, user]) and unwatch(name).
void as_object_watch(const fn_call& fn);
void as_object_unwatch(const fn_call& fn);
// addEventListener(type, listener): accepted and ignored.
void as_object_addeventlistener(const fn_call& fn);

}  // namespace swfplayer
